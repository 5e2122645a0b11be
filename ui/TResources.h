#pragma once

// Registers the program's built-in pictures, icons and help pages (they live in a static library,
// so the program and the tests register them explicitly before the first use).
void InitResources();

#pragma once

// Abandons the current action silently: the application's default handler swallows it, so no
// further message appears and the caller's remaining steps do not run.
class TAbort {};

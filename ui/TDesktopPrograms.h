#pragma once

#include <QString>
#include <QStringList>

// The desktop's own programs and files that the main menu opens.

// Opens a file of the program's folder (readme.txt, whatsnew.txt) with the desktop's default
// program; a file that is missing or cannot be opened is reported.
void OpenProgramFile(const QString& name);
// Starts the first of the candidate programs found on the path; false when none is installed.
bool StartFirstProgram(const QStringList& candidates);
// "记事本" and "计算器": the desktop's text editor and calculator, or a message that none is installed.
void StartNotepad();
void StartCalculator();
// "澄谷官方网站": the maker's web site in the browser.
void OpenWebSite();
extern const char* const kWebSite;

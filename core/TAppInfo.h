#pragma once

#include <QString>

// The program's identity texts, set once by the program entry before anything else.
extern QString AppTitle;     // "澄谷图书管理系统": task bar, main window caption, about box
extern QString VersionText;  // "单机版 2013.1.11.0326": main window caption and version label
extern QString BuildLabel;   // "Build130326": about box
extern QString ProductCode;  // "LBSYS111": about box
extern QString ShortName;    // "lbsys": the default database file's name
extern QString ThirdTitle;   // the third part of the main window's caption; never set

void SetIdentityTexts();

// The product's version, for both executables' version resources, the about box
// and the console program's --version.
#pragma once

#define QELTRIN_VERSION 1, 0, 1, 1
#define QELTRIN_VERSION_TEXT "1.0.1.1"

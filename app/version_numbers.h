/* The build's version, shared by the code and the version resource. */
#pragma once
#define QM_VER_MAJOR 5
#define QM_VER_MINOR 18
#define QM_VER_RELEASE 25
#define QM_VER_BUILD 0
#define QM_VERSION_TEXT "5.18.25"
#define QM_FILEVERSION_TEXT "5.18.25.0"

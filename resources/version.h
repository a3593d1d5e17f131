#pragma once
// The program's name and version, shared by the code and the resource script.
#define TAVOLIN_TITLE "Tavolin"
#define TAVOLIN_VERSION "1.0.4"
#define TAVOLIN_VERSION_NUMBERS 1, 0, 4, 0

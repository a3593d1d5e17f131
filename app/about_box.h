#pragma once
// "Informationen": the display title and the program's notice lines.
void ShowAboutBox();

// Placeholder export until the applet host lands.
#include <windows.h>
extern "C" LONG CALLBACK CPlApplet(HWND, UINT, LPARAM, LPARAM) { return 0; }

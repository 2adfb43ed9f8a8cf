/* Lists the Control Panel's registered applets as the Control Panel finds
   them, for the package tests: every value of the "Control Panel\Cpls" keys
   of the current user and the machine (in this program's registry view),
   the module it names loaded and asked through CPlApplet for its applets.
   Prints one line per applet: value name, module path and applet name,
   separated by tabs; a module that does not load or answer is listed with
   the reason instead of a name.
   Usage: cplist  (exit code 0); "cplist probe" only ends with exit code 3,
   telling whether this Wine runs the program. */
#include <windows.h>
#include <cpl.h>
#include <stdio.h>

static const wchar_t cpls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls";

static void list_module(const wchar_t *value, const wchar_t *path) {
  HMODULE module = LoadLibraryW(path);
  APPLET_PROC applet = module ? (APPLET_PROC)(void *)GetProcAddress(module, "CPlApplet") : NULL;
  LONG count, i;
  if (!applet) {
    wprintf(L"%ls\t%ls\t(%ls, error %lu)\n", value, path, module ? L"no CPlApplet" : L"does not load",
            GetLastError());
    if (module) FreeLibrary(module);
    return;
  }
  if (!applet(NULL, CPL_INIT, 0, 0)) {
    wprintf(L"%ls\t%ls\t(CPL_INIT refused)\n", value, path);
    FreeLibrary(module);
    return;
  }
  count = applet(NULL, CPL_GETCOUNT, 0, 0);
  for (i = 0; i < count; ++i) {
    union { NEWCPLINFOW wide; NEWCPLINFOA ansi; } record;
    NEWCPLINFOW info = {sizeof info};
    CPLINFO old = {0};
    ZeroMemory(&record, sizeof record);
    record.wide.dwSize = sizeof record.wide;
    applet(NULL, CPL_NEWINQUIRE, i, (LPARAM)&record);
    /* The module tells by the record's size which kind it filled in. */
    if (record.ansi.dwSize == sizeof record.ansi)
      MultiByteToWideChar(CP_ACP, 0, record.ansi.szName, -1, info.szName, 32);
    else if (record.wide.dwSize == sizeof record.wide)
      lstrcpynW(info.szName, record.wide.szName, 32);
    if (!info.szName[0]) { /* as the Control Panel does: the older inquiry */
      applet(NULL, CPL_INQUIRE, i, (LPARAM)&old);
      if (old.idName) LoadStringW(module, old.idName, info.szName, 32);
    }
    wprintf(L"%ls\t%ls\t%ls\n", value, path, info.szName);
  }
  for (i = 0; i < count; ++i) applet(NULL, CPL_STOP, i, 0);
  applet(NULL, CPL_EXIT, 0, 0);
  FreeLibrary(module);
}

static void list_key(HKEY root) {
  HKEY key;
  DWORD i, type, name_size, data_size;
  wchar_t name[256], data[MAX_PATH], path[MAX_PATH];
  if (RegOpenKeyExW(root, cpls, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  for (i = 0;; ++i) {
    name_size = 256;
    data_size = sizeof data - sizeof *data;
    if (RegEnumValueW(key, i, name, &name_size, NULL, &type, (BYTE *)data, &data_size) != ERROR_SUCCESS) break;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    data[data_size / sizeof *data] = 0;
    if (!ExpandEnvironmentStringsW(data, path, MAX_PATH)) lstrcpyW(path, data);
    list_module(name, path);
  }
  RegCloseKey(key);
}

int wmain(int argc, wchar_t **argv) {
  (void)argv;
  if (argc > 1) return 3;
  list_key(HKEY_CURRENT_USER);
  list_key(HKEY_LOCAL_MACHINE);
  fflush(stdout);
  return 0;
}

/* A small Windows program for scripts/run and the package tests. It starts a
   program, waits for a visible top-level window with the given caption (or
   a dialog, such as a message box, holding a control with that text), writes
   READY-FILE, waits until CLOSE-FILE exists, asks the window to close and
   waits for the program to end; then writes "ended" and the program's exit
   code to READY-FILE (a launcher between may not pass the exit code on).
   Usage: bxwindow TEXT READY-FILE CLOSE-FILE PROGRAM [ARGUMENT...]
   Exit code 0 when all went so; 1 when the window did not appear within a
   minute; 2 when the program did not end after the window was closed. */
#include <windows.h>
#include <stdio.h>

static HWND found;
static const wchar_t *caption;

static BOOL has_text(HWND w) {
  wchar_t text[1024];
  return GetWindowTextW(w, text, 1024) && !lstrcmpW(text, caption);
}

static BOOL CALLBACK match_child(HWND w, LPARAM p) {
  if (!has_text(w)) return TRUE;
  *(BOOL *)p = TRUE;
  return FALSE;
}

static BOOL is_dialog(HWND w) {
  wchar_t name[16];
  return GetClassNameW(w, name, 16) && !lstrcmpW(name, L"#32770");
}

static BOOL CALLBACK match(HWND w, LPARAM p) {
  BOOL matches;
  (void)p;
  if (!IsWindowVisible(w)) return TRUE;
  matches = has_text(w);
  /* Only dialogs: a task bar's buttons carry the captions of other windows. */
  if (!matches && is_dialog(w)) EnumChildWindows(w, match_child, (LPARAM)&matches);
  if (!matches) return TRUE;
  found = w;
  return FALSE;
}

static HWND find_window(void) {
  found = NULL;
  EnumWindows(match, 0);
  return found;
}

int wmain(int argc, wchar_t **argv) {
  static wchar_t command[8192];
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process;
  DWORD code = 0;
  FILE *f;
  HWND window = NULL;
  int i;
  if (argc < 5) return 3;
  caption = argv[1];
  for (i = 4; i < argc; ++i) {
    lstrcatW(command, L"\"");
    lstrcatW(command, argv[i]);
    lstrcatW(command, i + 1 < argc ? L"\" " : L"\"");
  }
  if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
    return 3;
  for (i = 0; i < 600 && !window; ++i) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    window = find_window();
  }
  if (!window) {
    TerminateProcess(process.hProcess, 1);
    return 1;
  }
  if ((f = _wfopen(argv[2], L"w")) != NULL) fclose(f);
  while (GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES &&
         WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
  }
  if (find_window()) PostMessageW(found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return 2;
  }
  GetExitCodeProcess(process.hProcess, &code);
  if ((f = _wfopen(argv[2], L"w")) != NULL) {
    fprintf(f, "ended %lu\n", (unsigned long)code);
    fclose(f);
  }
  return 0;
}

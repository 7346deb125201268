/* A library the contrast tests load into the program before its first instruction.
   Wine's system never answers that high contrast is on, so this library answers for
   it: it points the program's import of SystemParametersInfoW at a routine that asks
   the system and then sets the high-contrast flag. Everything else passes through
   unchanged. The program itself carries no switch for this. */
#include <windows.h>
#include <string.h>

typedef BOOL(WINAPI* ParametersRoutine)(UINT, UINT, PVOID, UINT);

static ParametersRoutine systemParameters;

static BOOL WINAPI contrastParameters(UINT action, UINT param, PVOID data, UINT ini) {
  BOOL ok = systemParameters(action, param, data, ini);
  if (action == SPI_GETHIGHCONTRAST && data) {
    ((HIGHCONTRASTW*)data)->dwFlags |= HCF_HIGHCONTRASTON | HCF_AVAILABLE;
    ok = TRUE;
  }
  return ok;
}

/* The program's import address slot of user32's SystemParametersInfoW, by name. */
static void** importSlot(HMODULE image) {
  BYTE* base = (BYTE*)image;
  IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
  IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return NULL;
  for (IMAGE_IMPORT_DESCRIPTOR* d = (IMAGE_IMPORT_DESCRIPTOR*)(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp((const char*)(base + d->Name), "user32.dll") != 0) continue;
    IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
    IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      IMAGE_IMPORT_BY_NAME* byName = (IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
      if (strcmp((const char*)byName->Name, "SystemParametersInfoW") == 0) return (void**)&slots->u1.Function;
    }
  }
  return NULL;
}

BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID reserved) {
  (void)inst;
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  void** slot = importSlot(GetModuleHandleW(NULL));
  if (!slot) return TRUE;
  DWORD old;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return TRUE;
  systemParameters = (ParametersRoutine)*slot;
  *slot = (void*)contrastParameters;
  VirtualProtect(slot, sizeof *slot, old, &old);
  return TRUE;
}

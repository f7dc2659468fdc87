// Result and style values of message boxes and menus, with the numbers that
// stored settings and module code use.
#pragma once

namespace dv {

// Message-box buttons and icons (style bits).
enum : unsigned {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_ABORTRETRYIGNORE = 0x2,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5,
  MB_TYPEMASK = 0xF,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_ICONMASK = 0xF0,
};

// Dialog and message-box results (also the ids of the standard buttons).
enum : int {
  IDOK = 1,
  IDCANCEL = 2,
  IDABORT = 3,
  IDRETRY = 4,
  IDIGNORE = 5,
  IDYES = 6,
  IDNO = 7,
};

// Menu item flags.
enum : unsigned {
  MF_STRING = 0x0,
  MF_GRAYED = 0x1,
  MF_DISABLED = 0x2,
  MF_CHECKED = 0x8,
  MF_POPUP = 0x10,
  MF_SEPARATOR = 0x800,
};

// Notification codes passed with a control's command.
enum : int {
  BN_CLICKED = 0,
  EN_CHANGE = 0x300,
  EN_KILLFOCUS = 0x200,
  LBN_SELCHANGE = 1,
  LBN_DBLCLK = 2,
  CBN_SELCHANGE = 1,
  TCN_SELCHANGE = -551,
};

// The first application-defined window message.
constexpr int WM_APP_TREE_CHANGED = 0x8000;

}  // namespace dv

// The Quv module's command, menu and toolbar ids: the menus, the dispatch,
// the windows and their toolbars all name a command from here, and job
// scripts may give these numbers where a caption is ambiguous.
#pragma once

namespace quv {

// Menu resources.
enum MenuResource {
  kMenuMainBar = 200,    // "&Raw Batch", "&Profile Batch", "&QUV Preferences"
  kMenuQuvFolder = 201,  // the "QUV" folder's pop-up
  kMenuRawData = 203,    // the "Raw Data" folder's pop-up, then the raw object's
  kMenuProfiles = 209,   // the "Profiles" folder's pop-up, then the profile object's
};

// Folder and object commands of the tree pop-ups.
enum TreeCommand {
  ID_QUV_ADD_RAW = 33000,
  ID_QUV_IMPORT_BRENNIC = 33001,
  // "Raw Data" folder
  ID_RAW_ADD = 33100,
  ID_RAW_CREATE_PROFILES = 33101,
  ID_RAW_SELECT_ALL = 33102,
  ID_RAW_DESELECT_ALL = 33103,
  ID_RAW_SELECTION_SETS = 33104,
  ID_RAW_DELETE_SELECTED = 33105,
  ID_RAW_PRINT_SELECTED = 33106,
  ID_RAW_REORDER_SELECTED = 33107,
  ID_RAW_RESAMPLE_SELECTED = 33108,
  ID_RAW_REVERSE_SELECTED = 33109,
  ID_RAW_CROP_SELECTED = 33110,
  ID_RAW_RUBBER_SHEET_SELECTED = 33111,
  // raw object
  ID_RAWOBJ_CREATE_PROFILE = 33120,
  ID_RAWOBJ_SELECT = 33121,
  ID_RAWOBJ_DESELECT = 33122,
  ID_RAWOBJ_DELETE = 33123,
  ID_RAWOBJ_PRINT = 33124,
  ID_RAWOBJ_REORDER = 33125,
  ID_RAWOBJ_RESAMPLE = 33126,
  ID_RAWOBJ_REVERSE = 33127,
  ID_RAWOBJ_CROP = 33128,
  ID_RAWOBJ_JOIN = 33129,
  ID_RAWOBJ_RUBBER_SHEET = 33130,
  ID_RAWOBJ_FILE_HEADER = 33131,
  // "Profiles" folder
  ID_PRF_SELECT_ALL = 33200,
  ID_PRF_DESELECT_ALL = 33201,
  ID_PRF_SELECTION_SETS = 33202,
  ID_PRF_DELETE_SELECTED = 33203,
  ID_PRF_EDIT_GEOMETRIES = 33204,
  ID_PRF_DEPTH_CONVERT_SELECTED = 33205,
  ID_PRF_ELEVATION_CONVERT_SELECTED = 33206,
  ID_PRF_PROCESS_SELECTED = 33207,
  // profile object
  ID_PROFILE_SELECT = 33220,
  ID_PROFILE_DESELECT = 33221,
  ID_PROFILE_DELETE = 33222,
  ID_PROFILE_EDIT_GEOMETRY = 33223,
  // Positions: the lines of the selected profiles out to maps.
  ID_PRF_EXPORT_LINES = 33300,
};

// Main-menu commands (menu 200); the framework routes 35000 and up here.
enum MainMenuCommand {
  ID_MAIN_RAW_ADD = 35000,
  ID_MAIN_RAW_CREATE_PROFILES = 35001,
  ID_MAIN_RAW_SELECT_ALL = 35002,
  ID_MAIN_RAW_DESELECT_ALL = 35003,
  ID_MAIN_RAW_SELECTION_SETS = 35004,
  ID_MAIN_RAW_DELETE_SELECTED = 35005,
  ID_MAIN_RAW_PRINT_SELECTED = 35006,
  ID_MAIN_RAW_REORDER_SELECTED = 35007,
  ID_MAIN_RAW_RESAMPLE_SELECTED = 35008,
  ID_MAIN_RAW_REVERSE_SELECTED = 35009,
  ID_MAIN_RAW_CROP_SELECTED = 35010,
  ID_MAIN_RAW_RUBBER_SHEET_SELECTED = 35011,
  ID_MAIN_PRF_SELECT_ALL = 35020,
  ID_MAIN_PRF_DESELECT_ALL = 35021,
  ID_MAIN_PRF_SELECTION_SETS = 35022,
  ID_MAIN_PRF_DELETE_SELECTED = 35023,
  ID_MAIN_PRF_DEPTH_CONVERT_SELECTED = 35024,
  ID_MAIN_PRF_ELEVATION_CONVERT_SELECTED = 35025,
  ID_MAIN_PRF_PROCESS_SELECTED = 35026,
  ID_MAIN_PREF_FILE_LOCATIONS = 35040,
  ID_MAIN_PREF_RAW_DISPLAY = 35041,
  ID_MAIN_PREF_NORMAL_DISPLAY = 35042,
  ID_MAIN_PREF_PRESENTATION_DISPLAY = 35043,
  ID_MAIN_PREF_LOAD_DEFAULTS = 35044,
  ID_MAIN_HELP = 35099,
};

// --- the profile window ---------------------------------------------------------------------
// Ids of the profile window (controls, menus, pop-ups, toolbar).
enum ProfileWindowIds {
  IDC_VIEW_TEXT = 20000,
  IDC_PRES = 20001,
  IDC_TABS = 20002,
  IDC_TEXT_VIEW = 20200,
  IDC_PRES_VIEW = 20300,
  IDC_PRES_HSCROLL = 20302,
  IDC_PRES_VSCROLL = 20303,
  IDC_NORMAL_VIEW = 20400,
  IDC_HSCROLL = 20401,
  IDC_VSCROLL = 20402,
  // WPRFLTRACES
  ID_IMG_TIME_ZERO = 33240,
  ID_IMG_ZOOM_OUT = 33241,
  ID_IMG_NO_COLOR = 33242,
  ID_IMG_GRAY = 33243,
  ID_IMG_RWB = 33244,
  ID_IMG_USER = 33245,
  ID_IMG_WIGGLES_OFF = 33246,
  ID_IMG_WIGGLES_ON = 33247,
  ID_IMG_PROPERTIES = 33248,
  // WPRFRWND
  ID_PANEL_TIME_ZERO = 33250,
  ID_PANEL_NO_FILL = 33251,
  ID_PANEL_FILL_LEFT = 33252,
  ID_PANEL_FILL_RIGHT = 33253,
  ID_PANEL_FILL_BOTH = 33254,
  // WPRFPWND
  ID_PRES_ZOOM_OUT = 33260,
  ID_PRES_PROPERTIES = 33261,
  ID_TEXT_PLACEHOLDER = 33270,
  // WPRF3TAB / WPRF4TAB
  ID_TAB_SYNC_VERSIONS = 33280,
  ID_TAB_SYNC_PROFILES = 33281,
  ID_TAB_VERSION_NAME = 33282,
  ID_TAB_DELETE_VERSION = 33283,
  ID_TAB4_SYNC_VERSIONS = 33290,
  ID_TAB4_SYNC_PROFILES = 33291,
  ID_TAB4_VERSION_NAME = 33292,
  ID_TAB4_DELETE_VERSION = 33293,
  ID_TAB4_DEPTH_CONVERT = 33294,
  ID_TAB4_ELEVATION_CONVERT = 33295,
  // "&Profile" in text mode
  ID_TEXT_MENU_PRES = 34100,
  ID_TEXT_MENU_NORMAL = 34120,
  // "&Profile" in presentation mode
  ID_P_VIEW_NORMAL = 34140,
  ID_P_ZOOM_LAYOUT = 34141,
  ID_P_EDIT_LAYOUT = 34142,
  ID_P_LOAD_LAYOUT = 34143,
  ID_P_SAVE_LAYOUT = 34144,
  ID_P_DELETE_VERSION = 34145,
  ID_P_VERSION_NAME = 34146,
  ID_P_SYNC_VERSIONS = 34147,
  ID_P_SYNC_PROFILES = 34148,
  ID_P_USER_PALETTE = 34149,
  ID_P_PROPERTIES = 34150,
  // "&Profile" in normal mode
  ID_N_VIEW_PRES = 34160,
  ID_N_EDIT_GEOMETRY = 34161,
  ID_N_TIME_ZERO = 34162,
  ID_N_DEPTH_CONVERT = 34163,
  ID_N_ELEVATION_CONVERT = 34164,
  ID_N_DELETE_VERSION = 34165,
  ID_N_VERSION_NAME = 34166,
  ID_N_SYNC_VERSIONS = 34167,
  ID_N_SYNC_PROFILES = 34168,
  ID_N_USER_PALETTE = 34169,
  ID_N_PROPERTIES = 34170,
  // "&Process" in the normal "&Profile" menu: the steps that write a new version
  ID_N_PROCESS_DEWOW = 34171,
  ID_N_PROCESS_BACKGROUND = 34172,
  ID_N_PROCESS_BAND_PASS = 34173,
  ID_N_PROCESS_LOW_PASS = 34174,
  ID_N_PROCESS_HIGH_PASS = 34175,
  ID_N_PROCESS_ENVELOPE = 34176,
  // time zero from the first break, migration and the hyperbola fit
  ID_N_PROCESS_TIME_ZERO = 34177,
  ID_N_PROCESS_MIGRATE = 34178,
  ID_N_FIT_HYPERBOLA = 34179,
  ID_N_USE_FITTED_VELOCITY = 34180,
  // Object toolbar
  ID_TB_EDIT_LAYOUT = 34182,
  ID_TB_ZOOM_LAYOUT = 34183,
  ID_TB_PRES_ZOOM_OUT = 34184,
  ID_TB_PAGE_PROPS = 34185,
  ID_TB_LEGEND_PROPS = 34192,
  ID_TB_PRES_NO_COLOR = 34193,
  ID_TB_PRES_USER = 34196,
  ID_TB_PRES_USER_PALETTE = 34197,
  ID_TB_PRES_WIGGLES = 34198,
  ID_TB_TIME_ZERO = 34200,
  ID_TB_DEPTH_CONVERT = 34201,
  ID_TB_ELEVATION_CONVERT = 34202,
  ID_TB_TRACES_PROPS = 34203,
  ID_TB_HAXIS_PROPS = 34204,
  ID_TB_VAXIS_PROPS = 34205,
  ID_TB_ZOOM_OUT = 34206,
  ID_TB_NO_COLOR = 34207,
  ID_TB_GRAY = 34208,
  ID_TB_RWB = 34209,
  ID_TB_USER = 34210,
  ID_TB_USER_PALETTE = 34211,
  ID_TB_WIGGLES = 34212,
  // Framework commands a document window handles
  ID_FILE_EXPORT = 32769,
  ID_FILE_PRINT = 57607,
  ID_EDIT_COPY = 57634,
};

// --- the raw data window --------------------------------------------------------------------
// Commands of the window's pop-up "WRAW" and of the raw object toolbar.
enum RawWindowCommand {
  kRawCmdZoomOut = 33140,
  kRawCmdGainTraceMax = 33141,
  kRawCmdGainAgc10 = 33142,
  kRawCmdGainAgc25 = 33143,
  kRawCmdGrayScale = 33144,
  kRawCmdRedWhiteBlue = 33145,
  kRawToolZoomOut = 34028,  // 34028 to 34033: the same six commands
  kRawToolRedWhiteBlue = 34033,
};
// Commands of the "&Raw" main-menu pop-up (the raw object's operations).
enum RawMenuCommand {
  kRawMenuCreateProfile = 34000,
  kRawMenuReorder = 34001,
  kRawMenuResample = 34002,
  kRawMenuReverse = 34003,
  kRawMenuCrop = 34004,
  kRawMenuJoin = 34005,
  kRawMenuRubberSheet = 34006,
  kRawMenuFileHeader = 34007,
};
// Framework commands the window answers while it is active.
enum RawFrameCommand { kCmdFileExport = 32769, kCmdFilePrint = 57607, kCmdEditCopy = 57634 };

}  // namespace quv

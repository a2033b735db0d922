#pragma once
// Control ids of the main window. Notifications carry these numbers, so they
// are fixed; the names say what each control is.

namespace tk410::ctl {

// Frame (all pages).
constexpr int kBackground = 30;
constexpr int kBackground2 = 31;       // hidden on the home page
constexpr int kTitleArea = 32;
constexpr int kLogo = 33;
constexpr int kTitle = 35;
constexpr int kClose = 36;
constexpr int kMinimize = 37;
constexpr int kMaximize = 38;
constexpr int kBattery = 40;           // BatteryCtrl
constexpr int kDeviceState = 41;       // CDeviceState: connection text
constexpr int kProgramVersion = 42;
constexpr int kMakerLine = 43;
constexpr int kLogoLink = 44;
constexpr int kTabs = 45;              // MTabCtrl, five items
constexpr int kLayoutKeys = 46;
constexpr int kLayoutDpi = 47;
constexpr int kLayoutMacro = 48;
constexpr int kLayoutUnused = 49;
constexpr int kLayoutSettings = 50;
constexpr int kLayoutHome = 51;

// Page 1, home.
constexpr int kHomeMouse = 52;
constexpr int kHomePanel = 53;
constexpr int kHomeStatus = 54;
constexpr int kHomeStatus2 = 56;

// Page 2, button assignments.
constexpr int kProfileHeading = 59;
constexpr int kProfileCombo = 60;
// Function combo of a button: 62, 64, ... 82 (key_code order below).
constexpr int kFirstKeyCombo = 62;
constexpr int kResponseHeading = 84;
constexpr int kResponseTime = 85;      // NumberEdit 0..20
constexpr int kMousePicture = 86;
constexpr int kMouseCtrl = 87;
constexpr int kWriteButton = 88;
constexpr int kReadButton = 89;
constexpr int kRestoreButton = 90;
constexpr int kImportProfile = 91;
constexpr int kExportProfile = 92;

// Page 3, DPI and performance.
constexpr int kDpiHeading = 95;
constexpr int kDpiHelp = 97;
constexpr int kDpiReset = 98;
constexpr int kDpiCountHeading = 99;
constexpr int kDpiCount = 100;
constexpr int kFirstDpiStage = 101;    // DPIControl 101..106, stage n = id - 101
constexpr int kLastDpiStage = 106;
constexpr int kDpiSlider = 107;
constexpr int kDpiUp = 108;
constexpr int kDpiDown = 109;
constexpr int kRateHeading = 111;
constexpr int kRateHelp = 112;
constexpr int kRateReset = 113;
constexpr int kFirstRate = 114;        // ColorButtonEx 114..120: 125 Hz .. 8000 Hz
constexpr int kRate1000 = 117;
constexpr int kLastRate = 120;
constexpr int kLightHeading = 122;
constexpr int kLightCombo = 123;
constexpr int kSleepHeading = 125;
constexpr int kSleepCombo = 126;
constexpr int kLiftHeading = 128;
constexpr int kLift1mm = 130;
constexpr int kLift2mm = 131;
constexpr int kSensorHeading = 133;
constexpr int kSensorHelp = 134;
constexpr int kSensor4 = 135;          // sensor_flag bit 4
constexpr int kSensor8 = 136;          // sensor_flag bit 8
constexpr int kSensor16 = 137;         // sensor_flag bit 16
constexpr int kScrollHeading = 139;
constexpr int kScrollHelp = 140;
constexpr int kScrollNormal = 141;
constexpr int kScrollReverse = 142;
constexpr int kGameHeading = 144;
constexpr int kGameHelp = 145;
constexpr int kGameOn = 146;
constexpr int kGameOff = 147;

// Page 4, macros.
constexpr int kMacroListHeading = 151;
constexpr int kStepListHeading = 153;
constexpr int kMacroList = 155;
constexpr int kMacroNew = 156;
constexpr int kMacroImport = 157;
constexpr int kMacroExport = 158;
constexpr int kStepColumn1 = 163;      // column headings over the step list
constexpr int kStepColumn2 = 164;
constexpr int kStepColumn3 = 165;
constexpr int kStepList = 166;
constexpr int kStepInsert = 167;
constexpr int kStepDelete = 168;
constexpr int kRecord = 170;
constexpr int kDelayHeading = 171;
constexpr int kDelayNone = 172;
constexpr int kDelayRecorded = 173;
constexpr int kDelayFixed = 174;
constexpr int kDelayEdit = 176;
constexpr int kPlayHeading = 178;
constexpr int kPlayMode1 = 179;
constexpr int kPlayMode2 = 180;
constexpr int kPlayRepeat = 181;
constexpr int kRepeatEdit = 182;
constexpr int kStepKindLabel = 183;
constexpr int kStepKind = 184;
constexpr int kStepValue = 185;
constexpr int kStepButton = 186;
constexpr int kStepValueLabel = 187;
constexpr int kStepUp = 188;
constexpr int kStepDown = 189;
constexpr int kMoveLabelX = 190;
constexpr int kMoveLeft = 191;
constexpr int kMoveRight = 192;
constexpr int kMoveX = 193;
constexpr int kMoveLabelY = 194;
constexpr int kMoveUp = 195;
constexpr int kMoveDown = 196;
constexpr int kMoveY = 197;

// Page 6, settings.
constexpr int kSettingsHeading = 233;
constexpr int kPointerHeading = 235;
constexpr int kPointerHeading2 = 236;
constexpr int kPointerHelp = 237;
constexpr int kPointerSpeed = 238;
constexpr int kPointerSpeedValue = 240;  // the speed 1..20
constexpr int kPointerPrecision = 242;
constexpr int kWheelLinesLabel = 243;
constexpr int kWheelLinesSlider = 244;
constexpr int kPointerNote = 246;      // which pointer values the desktop does not apply
constexpr int kWheelLines = 247;       // NumberEdit2
constexpr int kWheelUnit1 = 248;
constexpr int kWheelUnit2 = 249;
constexpr int kWheelPage = kWheelUnit1;        // one screen per notch
constexpr int kWheelLinesRadio = kWheelUnit2;  // lines per notch
constexpr int kDoubleClickLabel = 250;
constexpr int kDoubleClick = 251;
constexpr int kDoubleClickValue = 254;  // the double-click time in ms
constexpr int kSlowLabel = 239;        // slow / fast labels of the sliders
constexpr int kSlowLabel2 = 252;
constexpr int kFastLabel = 253;
constexpr int kFastLabel2 = 255;       // fast end of the double-click slider
constexpr int kDoubleClickUnit = 256;  // "ms" after the double-click time
constexpr int kVersionNameA = 257;     // labels of the version lines
constexpr int kVersionNameB = 258;
constexpr int kVersionNameC = 259;
constexpr int kVersionLabelA = 260;    // firmware version lines
constexpr int kVersionLabelB = 261;
constexpr int kVersionLabelC = 262;
constexpr int kAutostartLabel = 264;
constexpr int kAutostart = 265;
constexpr int kLanguageLabel = 267;
constexpr int kLanguage = 268;
constexpr int kFactoryResetLabel = 270;
constexpr int kFactoryReset = 271;
constexpr int kLeftLockLabel = 273;
constexpr int kLeftLock = 274;
constexpr int kControlPanelLabel = 275;
constexpr int kControlPanel = 276;
// Profiles for programs: the row that opens the rules dialog, and the line
// saying why the window in front cannot be known.
constexpr int kRulesLabel = 277;
constexpr int kRulesButton = 278;
constexpr int kRulesStatus = 279;

// Decorative panels of our own layout; they carry no behaviour.
constexpr int kFirstDecoration = 2000;

// The function combo of a button (62..82) for a key_code, and back; 0 when none.
int KeyComboId(int key_code);
int KeyCodeOfCombo(int combo_id);

}  // namespace tk410::ctl

#pragma once

/* Where the window's parts sit, shared by the pictures (drawn at build time) and
   the components that lie over them. Plain numbers only: the art generator
   includes this without the rest of the program. Every rectangle is
   { x, y, width, height } in the main component's coordinates unless a comment
   says otherwise. */
namespace T730::layout
{

struct Box
{
    int x, y, w, h;
    constexpr int right() const noexcept { return x + w; }
    constexpr int bottom() const noexcept { return y + h; }
};

// The main component's background and its five sections.
inline constexpr int mainWidth = 700, mainHeight = 500;
inline constexpr Box tabSection { 0, 0, 300, 350 };
inline constexpr Box toolSetBar { 300, 0, 400, 37 };
inline constexpr Box jamSection { 300, 38, 400, 308 };
inline constexpr Box editorSection { 1, 354, 652, 146 };
inline constexpr Box pedalAssignSection { 656, 349, 45, 152 };

// Inside the tab section: the page area and the four tabs (87 x 44 pictures).
inline constexpr Box pageArea { 0, 37, 300, 313 };
inline constexpr int tabWidth = 87, tabHeight = 44, tabY = 2;
inline constexpr int tabX[4] = { 1, 77, 152, 227 };

// Inside the tool set bar (relative to the bar).
inline constexpr Box nameField { 8, 4, 160, 14 };
inline constexpr int barButtonWidth = 53, barButtonHeight = 23, barButtonY = 19;
inline constexpr int barButtonX[4] = { 2, 45, 88, 131 };
inline constexpr Box masterSlider { 182, 18, 54, 10 };
inline constexpr int thumbWidth = 8, thumbHeight = 15;
inline constexpr Box inputMeter { 242, 18, 43, 14 };
inline constexpr Box outputMeter { 290, 18, 43, 14 };
inline constexpr int meterStripWidth = 43, meterStripHeight = 9;
inline constexpr int lampX = 350, lampY = 8, lampWidth = 41, lampHeight = 22;

// The librarian page (relative to the page, which fills the page area).
inline constexpr int librarianWidth = 300, librarianHeight = 313;
inline constexpr Box librarianGroupTable { 30, 23, 242, 80 };
inline constexpr Box librarianPatchTable { 30, 164, 242, 96 };
inline constexpr int librarianButtonWidth = 65, librarianButtonHeight = 32;
inline constexpr int librarianButtonX[4] = { 22, 87, 152, 217 };
inline constexpr int librarianGroupButtonY = 111, librarianPatchButtonY = 269;

// The librarian's choosers (wizards): two buttons of 87 x 44 that overlap; each
// shows only the upper part of its picture (wizardButtonBody, relative to the button).
inline constexpr int wizardWidth = 199, wizardHeight = 82;
inline constexpr int wizardButtonWidth = 87, wizardButtonHeight = 44;
inline constexpr int wizardButtonX = 62, wizardUpperY = 21, wizardLowerY = 50;
inline constexpr Box wizardButtonBody { 6, 3, 75, 24 };

// The save-as dialog of the librarian (relative to the dialog). Its two buttons
// overlap sideways; each shows only the middle of its picture (storeAsButtonBody).
inline constexpr int storeAsWidth = 290, storeAsHeight = 310;
inline constexpr Box storeAsGroupTable { 25, 36, 242, 80 };
inline constexpr Box storeAsPatchTable { 25, 157, 242, 96 };
inline constexpr int storeAsButtonWidth = 87, storeAsButtonHeight = 44;
inline constexpr int storeAsCancelX = 126, storeAsSaveX = 201, storeAsButtonY = 265;
inline constexpr Box storeAsButtonBody { 8, 8, 71, 28 };

// The pointer while a table cell is dragged.
inline constexpr int dropCursorSize = 24;

// The tuner page (relative to the page, which fills the page area): the row of
// 21 lamps along an arc (lamp i at tunerLampX/Y[i], 23 x 23, standing for
// (i - 10) x 5 cents), the note window between the two arrows, the three rows
// of buttons (38 x 40, overlapping; each draws its body inside) and the two
// texts between the buttons of the mode and calibration rows.
inline constexpr int tunerWidth = 300, tunerHeight = 313;
inline constexpr Box tunerLampRow { 33, 37, 241, 31 };
inline constexpr int tunerLamps = 21, tunerLampSize = 23;
inline constexpr int tunerLampX[tunerLamps] = { 34, 44, 55, 66, 77, 88, 98, 109, 119, 129, 140,
                                                152, 163, 174, 184, 195, 206, 216, 227, 237, 248 };
inline constexpr int tunerLampY[tunerLamps] = { 49, 47, 45, 43, 42, 41, 40, 40, 40, 40, 40,
                                                40, 40, 40, 40, 41, 42, 43, 45, 47, 49 };
inline constexpr Box tunerLeftArrow { 76, 104, 20, 32 };
inline constexpr Box tunerRightArrow { 205, 104, 20, 32 };
inline constexpr Box tunerNote { 133, 101, 36, 48 };
inline constexpr int tunerButtonWidth = 38, tunerButtonHeight = 40;
inline constexpr int tunerButtonLeftX = 90, tunerButtonRightX = 180;
inline constexpr int tunerModeRowY = 182, tunerFlatRowY = 217, tunerCalibrationRowY = 252;
inline constexpr Box tunerButtonBody { 5, 4, 28, 31 };
inline constexpr Box tunerModeText { 121, 197, 60, 14 };
inline constexpr Box tunerReferenceText { 126, 267, 50, 14 };
// The search page (relative to the page, which fills the page area).
inline constexpr int searchWidth = 300, searchHeight = 313;
inline constexpr Box searchFreeTextFrame { 95, 16, 125, 14 };
inline constexpr Box searchFreeTextField { 115, 16, 96, 14 };
inline constexpr Box searchClearButton { 220, 14, 53, 23 };
inline constexpr Box searchWordGrid { 30, 32, 241, 81 };
inline constexpr Box searchPatchLoadButton { 93, 118, 41, 14 };
inline constexpr Box searchRhythmLoadButton { 221, 118, 41, 14 };
inline constexpr Box searchPatchList { 30, 138, 115, 155 };
inline constexpr Box searchRhythmList { 158, 138, 115, 155 };
inline constexpr int searchButtonWidth = 53, searchButtonHeight = 23;   // every button picture
inline constexpr int searchNumberFrameWidth = 31, searchNumberFrameHeight = 10;
inline constexpr int searchChartWidth = 44, searchChartHeight = 46;
inline constexpr int searchTempoMarkWidth = 9, searchTempoMarkHeight = 8;
inline constexpr int searchPlayWidth = 19, searchPlayHeight = 27;
inline constexpr int searchStopWidth = 18, searchStopHeight = 19;
inline constexpr int searchPlayingWidth = 19, searchPlayingHeight = 6;

// The jam section (relative to the section): panels and the adder at x 4, one
// under the other, the scroll bar along the right edge; a panel's fold and close
// buttons (relative to the panel); the panels' sizes, open and folded.
inline constexpr int jamItemX = 4, jamScrollBarWidth = 16, jamScrollStep = 16;
inline constexpr int jamPanelWidth = 372;
inline constexpr Box jamFoldButton { 322, 3, 23, 16 };
inline constexpr Box jamCloseButton { 347, 3, 23, 16 };
inline constexpr int jamFoldedHeight = 22;
inline constexpr int jamRhythmOpenHeight = 124, jamRecorderOpenHeight = 88;
inline constexpr int jamAdderWidth = 372, jamAdderHeight = 36;
inline constexpr int jamAdderRhythmRight = 183, jamAdderRecorderLeft = 189;   // the two-choice adder's halves

// The rhythm panel (relative to the panel): its keys, displays, figures, meters
// and sliders, and the places of its painted captions.
inline constexpr Box rhythmPower { 5, 1, 18, 18 };
inline constexpr Box rhythmChords { 129, 25, 131, 35 };
inline constexpr Box rhythmPreviousBar { 139, 100, 21, 20 };
inline constexpr Box rhythmPlay { 165, 100, 21, 20 };
inline constexpr Box rhythmStop { 191, 100, 21, 20 };
inline constexpr Box rhythmNextBar { 217, 100, 21, 20 };
inline constexpr Box rhythmBarBeat { 140, 64, 36, 10 };
inline constexpr Box rhythmPlayTime { 178, 64, 60, 10 };
inline constexpr Box rhythmLocate { 128, 79, 123, 17 };
inline constexpr Box rhythmRepeat { 233, 60, 19, 13 };
inline constexpr Box rhythmDrummer { 25, 19, 92, 75 };
inline constexpr Box rhythmBassist { 260, 19, 92, 75 };
inline constexpr Box rhythmSongName { 125, 4, 130, 15 };
inline constexpr Box rhythmTempoValue { 283, 6, 42, 15 };
inline constexpr Box rhythmTempoSlider { 225, 6, 90, 10 };
inline constexpr Box rhythmDrumMeter { 8, 70, 12, 48 };
inline constexpr Box rhythmBassMeter { 354, 70, 12, 48 };
inline constexpr Box rhythmDrumLevel { 67, 104, 45, 12 };
inline constexpr Box rhythmBassLevel { 256, 104, 45, 12 };
inline constexpr Box rhythmDrumMute { 112, 104, 11, 12 };
inline constexpr Box rhythmBassMute { 302, 104, 11, 12 };
inline constexpr Box rhythmDrumKit { 24, 105, 44, 15 };
inline constexpr Box rhythmBassVoice { 312, 105, 44, 15 };
inline constexpr Box rhythmCount { 27, 94, 46, 15 };
inline constexpr Box rhythmKey { 312, 94, 36, 15 };
inline constexpr Box rhythmKeyCaption { 320, 96, 22, 10 };
inline constexpr Box rhythmCountCaption { 26, 96, 26, 10 };
inline constexpr Box rhythmBpmCaption { 260, 6, 23, 15 };
inline constexpr Box rhythmTitleCaption { 30, 4, 100, 15 };
inline constexpr int rhythmMeterWidth = 12, rhythmMeterHeight = 51;
inline constexpr int rhythmLevelThumbWidth = 7, rhythmLevelThumbHeight = 12;
inline constexpr int rhythmLocateThumbWidth = 9, rhythmLocateThumbHeight = 17;
// The download page (relative to the page, which fills the page area): the
// two tab buttons over the list, the list, DOWNLOAD_FULL under it, the
// connect button of the offline picture, the catalogue's time; the pictures
// of an entry (its download spot and downloaded mark, the new mark, the
// audition spot) and the patch set audition's cancel button.
inline constexpr int downloadWidth = 300, downloadHeight = 313;
inline constexpr Box downloadList { 32, 67, 243, 219 };
inline constexpr Box downloadPatchsetTab { 30, 31, 100, 30 };
inline constexpr Box downloadRhythmTab { 128, 31, 100, 30 };
inline constexpr Box downloadFullButton { 190, 290, 85, 19 };
inline constexpr Box downloadConnectButton { 100, 228, 100, 30 };
inline constexpr Box downloadTimeText { 150, 6, 125, 14 };
inline constexpr int downloadItemHeight = 31;
inline constexpr int downloadGetWidth = 61, downloadGetHeight = 10;
inline constexpr int downloadNewWidth = 28, downloadNewHeight = 10;
inline constexpr int downloadPlayWidth = 18, downloadPlayHeight = 19;
inline constexpr Box downloadAttractTable { 30, 28, 242, 96 };
inline constexpr Box downloadAttractCancel { 203, 130, 87, 44 };

// The program's other pictures.
inline constexpr int titleBarWidth = 700, titleBarHeight = 26;
inline constexpr int titleButtonWidth = 20, titleButtonHeight = 18;
inline constexpr int dialogWidth = 309, dialogHeight = 177;
inline constexpr int dialogButtonWidth = 70, dialogButtonHeight = 30;
inline constexpr int splashWidth = 452, splashHeight = 283;
inline constexpr int cpuMeterWidth = 150, cpuMeterHeight = 23;
inline constexpr int cpuBarX = 51, cpuBarY = 6, cpuBarWidth = 39, cpuBarHeight = 7;
inline constexpr int closeButtonWidth = 70, closeButtonHeight = 24;
inline constexpr int cursorSize = 24;

// The editor's floor (canvas coordinates) and its scroll buttons.
inline constexpr int floorTileWidth = 1280, floorTileHeight = 143;
inline constexpr int cableWidth = 56, cableHeight = 63;
inline constexpr int cableLine = 50;                      // row of the cable's centre in its picture
inline constexpr int plugWidth = 34, plugHeight = 78;     // a jack's plug, centred on its row 39
inline constexpr int scrollButtonWidth = 27, scrollButtonHeight = 30;

// Inside the pedal-assign strip (relative to the strip).
inline constexpr Box assignKnob { 8, 9, 32, 34 };
inline constexpr Box assignButton { 3, 107, 45, 38 };
inline constexpr Box assignLamps { 5, 57, 14, 54 };
inline constexpr int assignTargets = 6;
inline constexpr int assignLampPitch = 8, assignFirstLamp = 5;  // lamp centres at row 5 + 8 i of the lamp picture

} // namespace T730::layout

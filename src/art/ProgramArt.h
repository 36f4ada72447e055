#pragma once

#include <juce_graphics/juce_graphics.h>

/* The pictures compiled into the program (drawn at build time by the art
   generator; their sizes and the places they are drawn at are in ArtLayout.h). */
namespace T730::art
{

enum class Picture
{
    progressBackground,
    progressBar,
    progressOverlay,

    // The window: title bar and its buttons, the background with the section frames.
    titleBar,
    titleClose,
    titleCloseOver,
    titleMinimise,
    titleMinimiseOver,
    mainBackground,

    // The tab section's tabs, off and on.
    tabSearchOff,
    tabSearchOn,
    tabLibrarianOff,
    tabLibrarianOn,
    tabTunerOff,
    tabTunerOn,
    tabDownloadOff,
    tabDownloadOn,

    // The tool set bar.
    barNew,
    barNewDown,
    barLoad,
    barLoadDown,
    barSave,
    barSaveDown,
    barFolder,
    barFolderDown,
    lampConnected,
    lampUnconnected,
    sliderThumb,
    meterStrip,

    // The message boxes and the small panels.
    dialogBackground,
    dialogWarning,
    dialogError,
    buttonOk,
    buttonOkOver,
    buttonCancel,
    buttonCancelOver,
    buttonRename,
    buttonRenameOver,
    buttonClose,
    buttonCloseOver,

    // The editor's cursors 1 to 6.
    cursor1,
    cursor2,
    cursor3,
    cursor4,
    cursor5,
    cursor6,

    // The editor: floor, cable and plugs, the frame over the floor, the scroll buttons.
    fxFloor,
    fxCable,
    fxCableEnd,
    fxPlugIn,
    fxPlugOut,
    fxFrame,
    fxLeft,
    fxLeftDown,
    fxRight,
    fxRightDown,

    // The pedal-assign strip: the assign button and the six target lamps.
    assignButton,
    assignButtonDown,
    assignLamp1,
    assignLamp2,
    assignLamp3,
    assignLamp4,
    assignLamp5,
    assignLamp6,

    // Splash, CPU meter and the program's icon.
    splash,
    cpuBackground,
    cpuBar,
    icon256,
    icon48,

    // The librarian page: background and its eight buttons (normal, under the pointer).
    librarianBackground,
    librarianNew,
    librarianNewOver,
    librarianDelete,
    librarianDeleteOver,
    librarianGroupImportExport,
    librarianGroupImportExportOver,
    librarianBackupRestore,
    librarianBackupRestoreOver,
    librarianErase,
    librarianEraseOver,
    librarianPatchImportExport,
    librarianPatchImportExportOver,
    librarianSave,
    librarianSaveOver,
    librarianSaveAs,
    librarianSaveAsOver,

    // The librarian's three choosers and their buttons.
    wizardPatchGroup,
    wizardBackup,
    wizardPatch,
    wizardImport,
    wizardImportOver,
    wizardExport,
    wizardExportOver,
    wizardBackupButton,
    wizardBackupButtonOver,
    wizardRestore,
    wizardRestoreOver,

    // The librarian's save-as dialog.
    storeAsBackground,
    storeAsSave,
    storeAsSaveOver,
    storeAsCancel,
    storeAsCancelOver,

    // The pointer while a table cell is dragged: over a place it may go, and elsewhere.
    cursorDropAllowed,
    cursorDropRefused,

    // The tuner page: background, the lamp row dark, a lit lamp and the lit centre
    // lamp, the arrows dark and lit, the note display (blank, notes A to G#, strings 1 to 7)
    // and its buttons (mode and calibration down and up, normal and pressed; the flat toggles, normal and lit).
    tunerBackground,
    tunerLampsDark,
    tunerLamp,
    tunerLampCentre,
    tunerArrowLeft,
    tunerArrowLeftLit,
    tunerArrowRight,
    tunerArrowRightLit,
    tunerNoteBlank,
    tunerNote0,
    tunerNote1,
    tunerNote2,
    tunerNote3,
    tunerNote4,
    tunerNote5,
    tunerNote6,
    tunerNote7,
    tunerNote8,
    tunerNote9,
    tunerNote10,
    tunerNote11,
    tunerString0,
    tunerString1,
    tunerString2,
    tunerString3,
    tunerString4,
    tunerString5,
    tunerString6,
    tunerDown,
    tunerDownPressed,
    tunerUp,
    tunerUpPressed,
    tunerFlat,
    tunerFlatLit,
    tunerFlat2,
    tunerFlat2Lit,
    // The search page: background, free-text frame, its three buttons (plain,
    // lit) and the pictures of its result cells.
    searchBackground,
    searchFreeTextFrame,
    searchRhythmLoad,
    searchRhythmLoadLit,
    searchPatchLoad,
    searchPatchLoadLit,
    searchClear,
    searchClearLit,
    searchNumberFrame,
    searchChartBackground,
    searchTempoMark,
    searchPlay,
    searchStop,
    searchPlaying1,
    searchPlaying2,
    searchPlaying3,

    // The download page: background and offline picture, its tab buttons
    // (plain, on), DOWNLOAD_FULL (plain, lit), DOWNLOAD_CONNECT (plain, under
    // the pointer), an entry's pictures and the patch set audition's own.
    downloadBackground,
    downloadOffline,
    downloadTabPatchset,
    downloadTabPatchsetOn,
    downloadTabRhythm,
    downloadTabRhythmOn,
    downloadFull,
    downloadFullLit,
    downloadConnect,
    downloadConnectOver,
    downloadItemGet,
    downloadItemDone,
    downloadItemNew,
    downloadPlay,
    downloadStop,
    downloadAttractBackground,
    downloadAttractCancel,
    downloadAttractCancelOver,
};

/** Every picture, in the order above. */
juce::Array<Picture> allPictures();

/** The name of the embedded data of a picture (its file name with '.' as '_'). */
const char* resourceName (Picture picture);

/** The decoded picture (cached by JUCE's image cache); invalid when it is missing. */
juce::Image getImage (Picture picture);

} // namespace T730::art

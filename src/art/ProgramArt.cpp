#include "art/ProgramArt.h"
#include <OxaArtData.h>

namespace T730::art
{

namespace
{
    struct Entry
    {
        Picture picture;
        const char* name;
    };

    constexpr Entry entries[] = {
        { Picture::progressBackground, "progress_background_png" },
        { Picture::progressBar, "progress_bar_png" },
        { Picture::progressOverlay, "progress_overlay_png" },
        { Picture::titleBar, "title_bar_png" },
        { Picture::titleClose, "title_close_png" },
        { Picture::titleCloseOver, "title_close_over_png" },
        { Picture::titleMinimise, "title_minimise_png" },
        { Picture::titleMinimiseOver, "title_minimise_over_png" },
        { Picture::mainBackground, "main_background_png" },
        { Picture::tabSearchOff, "tab_search_off_png" },
        { Picture::tabSearchOn, "tab_search_on_png" },
        { Picture::tabLibrarianOff, "tab_librarian_off_png" },
        { Picture::tabLibrarianOn, "tab_librarian_on_png" },
        { Picture::tabTunerOff, "tab_tuner_off_png" },
        { Picture::tabTunerOn, "tab_tuner_on_png" },
        { Picture::tabDownloadOff, "tab_download_off_png" },
        { Picture::tabDownloadOn, "tab_download_on_png" },
        { Picture::barNew, "bar_new_png" },
        { Picture::barNewDown, "bar_new_down_png" },
        { Picture::barLoad, "bar_load_png" },
        { Picture::barLoadDown, "bar_load_down_png" },
        { Picture::barSave, "bar_save_png" },
        { Picture::barSaveDown, "bar_save_down_png" },
        { Picture::barFolder, "bar_folder_png" },
        { Picture::barFolderDown, "bar_folder_down_png" },
        { Picture::lampConnected, "lamp_connected_png" },
        { Picture::lampUnconnected, "lamp_unconnected_png" },
        { Picture::sliderThumb, "slider_thumb_png" },
        { Picture::meterStrip, "meter_strip_png" },
        { Picture::dialogBackground, "dialog_background_png" },
        { Picture::dialogWarning, "dialog_warning_png" },
        { Picture::dialogError, "dialog_error_png" },
        { Picture::buttonOk, "button_ok_png" },
        { Picture::buttonOkOver, "button_ok_over_png" },
        { Picture::buttonCancel, "button_cancel_png" },
        { Picture::buttonCancelOver, "button_cancel_over_png" },
        { Picture::buttonRename, "button_rename_png" },
        { Picture::buttonRenameOver, "button_rename_over_png" },
        { Picture::buttonClose, "button_close_png" },
        { Picture::buttonCloseOver, "button_close_over_png" },
        { Picture::cursor1, "cursor_1_png" },
        { Picture::cursor2, "cursor_2_png" },
        { Picture::cursor3, "cursor_3_png" },
        { Picture::cursor4, "cursor_4_png" },
        { Picture::cursor5, "cursor_5_png" },
        { Picture::cursor6, "cursor_6_png" },
        { Picture::fxFloor, "fx_floor_png" },
        { Picture::fxCable, "fx_cable_png" },
        { Picture::fxCableEnd, "fx_cable_end_png" },
        { Picture::fxPlugIn, "fx_plug_in_png" },
        { Picture::fxPlugOut, "fx_plug_out_png" },
        { Picture::fxFrame, "fx_frame_png" },
        { Picture::fxLeft, "fx_left_png" },
        { Picture::fxLeftDown, "fx_left_down_png" },
        { Picture::fxRight, "fx_right_png" },
        { Picture::fxRightDown, "fx_right_down_png" },
        { Picture::assignButton, "assign_button_png" },
        { Picture::assignButtonDown, "assign_button_down_png" },
        { Picture::assignLamp1, "assign_lamp_1_png" },
        { Picture::assignLamp2, "assign_lamp_2_png" },
        { Picture::assignLamp3, "assign_lamp_3_png" },
        { Picture::assignLamp4, "assign_lamp_4_png" },
        { Picture::assignLamp5, "assign_lamp_5_png" },
        { Picture::assignLamp6, "assign_lamp_6_png" },
        { Picture::splash, "splash_png" },
        { Picture::cpuBackground, "cpu_background_png" },
        { Picture::cpuBar, "cpu_bar_png" },
        { Picture::icon256, "icon_256_png" },
        { Picture::icon48, "icon_48_png" },
        { Picture::librarianBackground, "librarian_background_png" },
        { Picture::librarianNew, "librarian_new_png" },
        { Picture::librarianNewOver, "librarian_new_over_png" },
        { Picture::librarianDelete, "librarian_delete_png" },
        { Picture::librarianDeleteOver, "librarian_delete_over_png" },
        { Picture::librarianGroupImportExport, "librarian_group_import_export_png" },
        { Picture::librarianGroupImportExportOver, "librarian_group_import_export_over_png" },
        { Picture::librarianBackupRestore, "librarian_backup_restore_png" },
        { Picture::librarianBackupRestoreOver, "librarian_backup_restore_over_png" },
        { Picture::librarianErase, "librarian_erase_png" },
        { Picture::librarianEraseOver, "librarian_erase_over_png" },
        { Picture::librarianPatchImportExport, "librarian_patch_import_export_png" },
        { Picture::librarianPatchImportExportOver, "librarian_patch_import_export_over_png" },
        { Picture::librarianSave, "librarian_save_png" },
        { Picture::librarianSaveOver, "librarian_save_over_png" },
        { Picture::librarianSaveAs, "librarian_save_as_png" },
        { Picture::librarianSaveAsOver, "librarian_save_as_over_png" },
        { Picture::wizardPatchGroup, "wizard_patch_group_png" },
        { Picture::wizardBackup, "wizard_backup_png" },
        { Picture::wizardPatch, "wizard_patch_png" },
        { Picture::wizardImport, "wizard_import_png" },
        { Picture::wizardImportOver, "wizard_import_over_png" },
        { Picture::wizardExport, "wizard_export_png" },
        { Picture::wizardExportOver, "wizard_export_over_png" },
        { Picture::wizardBackupButton, "wizard_backup_button_png" },
        { Picture::wizardBackupButtonOver, "wizard_backup_button_over_png" },
        { Picture::wizardRestore, "wizard_restore_png" },
        { Picture::wizardRestoreOver, "wizard_restore_over_png" },
        { Picture::storeAsBackground, "store_as_background_png" },
        { Picture::storeAsSave, "store_as_save_png" },
        { Picture::storeAsSaveOver, "store_as_save_over_png" },
        { Picture::storeAsCancel, "store_as_cancel_png" },
        { Picture::storeAsCancelOver, "store_as_cancel_over_png" },
        { Picture::cursorDropAllowed, "cursor_drop_allowed_png" },
        { Picture::cursorDropRefused, "cursor_drop_refused_png" },
        // The tuner page.
        { Picture::tunerBackground, "tuner_background_png" },
        { Picture::tunerLampsDark, "tuner_lamps_dark_png" },
        { Picture::tunerLamp, "tuner_lamp_png" },
        { Picture::tunerLampCentre, "tuner_lamp_centre_png" },
        { Picture::tunerArrowLeft, "tuner_arrow_left_png" },
        { Picture::tunerArrowLeftLit, "tuner_arrow_left_lit_png" },
        { Picture::tunerArrowRight, "tuner_arrow_right_png" },
        { Picture::tunerArrowRightLit, "tuner_arrow_right_lit_png" },
        { Picture::tunerNoteBlank, "tuner_note_blank_png" },
        { Picture::tunerNote0, "tuner_note_0_png" },
        { Picture::tunerNote1, "tuner_note_1_png" },
        { Picture::tunerNote2, "tuner_note_2_png" },
        { Picture::tunerNote3, "tuner_note_3_png" },
        { Picture::tunerNote4, "tuner_note_4_png" },
        { Picture::tunerNote5, "tuner_note_5_png" },
        { Picture::tunerNote6, "tuner_note_6_png" },
        { Picture::tunerNote7, "tuner_note_7_png" },
        { Picture::tunerNote8, "tuner_note_8_png" },
        { Picture::tunerNote9, "tuner_note_9_png" },
        { Picture::tunerNote10, "tuner_note_10_png" },
        { Picture::tunerNote11, "tuner_note_11_png" },
        { Picture::tunerString0, "tuner_string_0_png" },
        { Picture::tunerString1, "tuner_string_1_png" },
        { Picture::tunerString2, "tuner_string_2_png" },
        { Picture::tunerString3, "tuner_string_3_png" },
        { Picture::tunerString4, "tuner_string_4_png" },
        { Picture::tunerString5, "tuner_string_5_png" },
        { Picture::tunerString6, "tuner_string_6_png" },
        { Picture::tunerDown, "tuner_down_png" },
        { Picture::tunerDownPressed, "tuner_down_pressed_png" },
        { Picture::tunerUp, "tuner_up_png" },
        { Picture::tunerUpPressed, "tuner_up_pressed_png" },
        { Picture::tunerFlat, "tuner_flat_png" },
        { Picture::tunerFlatLit, "tuner_flat_lit_png" },
        { Picture::tunerFlat2, "tuner_flat2_png" },
        { Picture::tunerFlat2Lit, "tuner_flat2_lit_png" },

        // The search page.
        { Picture::searchBackground, "search_background_png" },
        { Picture::searchFreeTextFrame, "search_free_text_frame_png" },
        { Picture::searchRhythmLoad, "search_rhythm_load_png" },
        { Picture::searchRhythmLoadLit, "search_rhythm_load_lit_png" },
        { Picture::searchPatchLoad, "search_patch_load_png" },
        { Picture::searchPatchLoadLit, "search_patch_load_lit_png" },
        { Picture::searchClear, "search_clear_png" },
        { Picture::searchClearLit, "search_clear_lit_png" },
        { Picture::searchNumberFrame, "search_number_frame_png" },
        { Picture::searchChartBackground, "search_chart_background_png" },
        { Picture::searchTempoMark, "search_tempo_mark_png" },
        { Picture::searchPlay, "search_play_png" },
        { Picture::searchStop, "search_stop_png" },
        { Picture::searchPlaying1, "search_playing_1_png" },
        { Picture::searchPlaying2, "search_playing_2_png" },
        { Picture::searchPlaying3, "search_playing_3_png" },

        // The download page.
        { Picture::downloadBackground, "download_background_png" },
        { Picture::downloadOffline, "download_offline_png" },
        { Picture::downloadTabPatchset, "download_tab_patchset_png" },
        { Picture::downloadTabPatchsetOn, "download_tab_patchset_on_png" },
        { Picture::downloadTabRhythm, "download_tab_rhythm_png" },
        { Picture::downloadTabRhythmOn, "download_tab_rhythm_on_png" },
        { Picture::downloadFull, "download_full_png" },
        { Picture::downloadFullLit, "download_full_lit_png" },
        { Picture::downloadConnect, "download_connect_png" },
        { Picture::downloadConnectOver, "download_connect_over_png" },
        { Picture::downloadItemGet, "download_item_get_png" },
        { Picture::downloadItemDone, "download_item_done_png" },
        { Picture::downloadItemNew, "download_item_new_png" },
        { Picture::downloadPlay, "download_play_png" },
        { Picture::downloadStop, "download_stop_png" },
        { Picture::downloadAttractBackground, "download_attract_background_png" },
        { Picture::downloadAttractCancel, "download_attract_cancel_png" },
        { Picture::downloadAttractCancelOver, "download_attract_cancel_over_png" },
    };
} // namespace

juce::Array<Picture> allPictures()
{
    juce::Array<Picture> pictures;
    for (const auto& e : entries)
        pictures.add (e.picture);
    return pictures;
}

const char* resourceName (Picture picture)
{
    for (const auto& e : entries)
        if (e.picture == picture)
            return e.name;

    return "";
}

juce::Image getImage (Picture picture)
{
    int size = 0;
    const auto* data = OxaArt::getNamedResource (resourceName (picture), size);
    if (data == nullptr || size <= 0)
        return {};

    return juce::ImageCache::getFromMemory (data, size);
}

} // namespace T730::art

#pragma once

namespace T730
{

/** The numbered requests every component sends to the controller through
    InstController::request (code, param1, param2, data). The result is -1 for
    true, 0 for false, or a value (directly or written through data); a code
    outside 1..55 answers 0. */
enum ControllerRequest
{
    GetAppSetting = 1,              // data: AppSetting** receives the settings
    RecordUndoAndMarkEdited = 2,
    ResetUndoAndMarkSaved = 3,
    MarkEdited = 4,
    IsDeviceConnected = 5,
    IsEdited = 6,
    PrepareQuit = 7,
    SetMasterLevel = 8,             // param1: level 0..100
    GetMasterLevel = 9,
    GetMasterLevelText = 10,        // data: juce::String*
    GetLongestItemLength = 11,      // data: juce::int64*
    GetLongestRecorderLength = 12,  // data: juce::int64* or null
    ReadInputPeak = 13,             // param1: channel
    ReadOutputPeak = 14,            // param1: channel
    NotifyItemsStopped = 15,
    NotifyItemsStopped2 = 16,       // the loop wrap's silence, same as 15
    NotifyItemsLocated = 17,
    GetJamArray = 18,               // data: JamArray::Ptr* receives a snapshot copy of the list
    AddPlayableItem = 19,           // param1: 0 rhythm machine, 1 recorder
    RemovePlayableItem = 20,        // param1: 0 rhythm machine, 1 recorder; param2: recorder index
    IsAnyRecorderArmed = 21,
    HasRhythmItem = 22,
    SyncRecordersTo = 23,           // data: PlayableItem* the recorder the others follow
    GetRecorderCount = 24,
    GetPatchManager = 25,           // data: PatchManager** receives the store
    SetEditBuffer = 26,             // data: const EditBuf*
    SetCurrentPatch = 27,           // data: const juce::String*; param1: index
    RecordUndo = 28,
    Undo = 29,
    BackupFromDevice = 30,          // data: PatchSet*
    RestoreToDevice = 31,           // data: PatchSet*; param1: number of patches
    GetSongManager = 32,            // data: SongManager** receives the store
    HasRhythmItem2 = 33,
    LoadSong = 34,                  // data: const juce::String* song file name or path
    EnsureRhythmItem = 35,          // data: the song
    BeginRhythmPreview = 36,
    EndRhythmPreview = 37,
    StartRhythmPreview = 38,
    StopRhythmPreview = 39,
    GetTunerLib = 40,               // data: TunerLib** receives the tuner reference
    IsTunerShown = 41,
    UnusedRequest42 = 42,
    UnusedRequest43 = 43,
    RefreshDownloadSection = 44,
    SendParameterChange = 45,       // data: const int[3] module, parameter, value
    SendEditBuffer = 46,            // data: const EditBuf*
    SendIdentityRequest = 47,
    SendAllDataDumpNotification = 48,
    SendPatchDataDump = 49,         // data: const PatchDump* (patch number and parameters)
    SendEndOfDataNotification = 50,
    SendPatchInfoRequest = 51,
    SendPatchDumpRequest = 52,      // param1: patch number
    SendEditBufferRequest = 53,
    TunerModeOn = 54,
    TunerModeOff = 55,

    FirstControllerRequest = GetAppSetting,
    LastControllerRequest = TunerModeOff
};

/** The request results that mean true and false. */
constexpr int requestTrue = -1;
constexpr int requestFalse = 0;

} // namespace T730

#pragma once

// The binary interface between the application and its rhythm engine library.
//
// The rhythm engine is the instrument the rhythm machine plays its drum part and its bass
// part on: a shared object "rhythmmachine.so" in the resources folder, beside the effect
// modules. It exports the C entry point "OxRhythmEngine", which returns the library's one
// function table. Each instance the host creates plays one part; the host feeds it MIDI
// messages with sample offsets and takes its stereo output block by block.
//
// Threads: create, destroy, prepare, release, the parameter calls and startLoading run on
// the host's message thread (or any one thread at a time); process runs on the audio
// thread. The engine may load its sounds on a thread of its own: until an instance's
// sounds are ready it renders silence and ignores the messages it is given.
//
// Only fields are ever appended to these records; a host checks abiVersion before use.

#include <cstdint>

namespace T730
{

/** One MIDI message for an instance: one to three bytes at a sample offset of the block. */
struct RhythmMidiEvent
{
    int32_t offset;      // 0 .. frames - 1, non-decreasing within a block
    int32_t size;        // 1 .. 3
    uint8_t data[4];
};

/** What the host tells the engine. */
struct RhythmEngineHost
{
    int32_t abiVersion;                  // kRhythmEngineAbiVersion
    /** Writes one line to the host's log; may be null. Not called on the audio thread. */
    void (*log) (const char* message);
    /** The sound file to play (a General MIDI SoundFont); null or empty: the engine's own default. */
    const char* soundFontPath;
};

/** Load states answered by loadState. */
enum RhythmEngineLoadState : int32_t
{
    kRhythmSoundsLoading = 0,
    kRhythmSoundsReady = 1,
    kRhythmSoundsMissing = -1    // the instances stay silent for the life of the process
};

/** Parameter indices: 0..127 select the bass voices, 128 and above the drum kits.
    setParameter (index, 0.0f) selects a voice; a name is empty for a voice that does not exist. */
inline constexpr int32_t kRhythmFirstDrumKit = 128;
inline constexpr int32_t kRhythmMaxBassVoices = 12;
inline constexpr int32_t kRhythmMaxDrumKits = 70;
inline constexpr int32_t kRhythmNumParameters = kRhythmFirstDrumKit + kRhythmMaxDrumKits;
inline constexpr int32_t kRhythmNameSize = 64;

/** The position argument of process when the block has no place on a timeline. */
inline constexpr int64_t kRhythmNoPosition = -1;

struct RhythmEngineApi
{
    int32_t abiVersion;

    /** Starts loading the sounds (once per process; later calls change nothing) and returns at once. */
    void (*startLoading) (const RhythmEngineHost* host);
    /** RhythmEngineLoadState of the process's sounds. */
    int32_t (*loadState)();

    /** A new instance, or null. Starts the loading when nobody has yet. Never waits for it. */
    void* (*create) (const RhythmEngineHost* host);
    void (*destroy) (void* instance);

    /** Before the first block and whenever the rate or the largest block changes. */
    void (*prepare) (void* instance, double sampleRate, int32_t maximumBlockSize);
    void (*release) (void* instance);

    /** Renders `frames` samples into left and right (replacing them) with the messages at
        their offsets. `position` is the block's first sample on the host's timeline
        (kRhythmNoPosition when it has none): blocks that follow each other on it render the
        same sound however the host cuts them. Audio thread; never waits or allocates. */
    void (*process) (void* instance, float* left, float* right, int32_t frames,
                     const RhythmMidiEvent* events, int32_t numEvents, int64_t position);

    int32_t (*getNumParameters) (void* instance);
    /** Writes the name of parameter `index` (at most kRhythmNameSize - 1 bytes and a 0). */
    void (*getParameterName) (void* instance, int32_t index, char* text);
    void (*setParameter) (void* instance, int32_t index, float value);

    /** 1 when the instance plays its sounds (they are loaded and it is built), else 0. */
    int32_t (*isReady) (void* instance);
};

using RhythmEngineEntryPoint = const RhythmEngineApi* (*) ();

inline constexpr const char* kRhythmEngineEntryPoint = "OxRhythmEngine";
inline constexpr int32_t kRhythmEngineAbiVersion = 1;

} // namespace T730

#pragma once

// The binary interface between the application and its effect module libraries.
//
// A module library is a shared object "<ModuleName>.so" in the resources folder. It exports
// the C entry point "OxTypeIF" (older modules: "getinterface"), which the host calls with its
// callback. Every call creates a new effect object and returns a ModuleRecord whose second
// pointer-sized field points to the object's AEffect record; the record is valid only when
// its magic is kEffectMagic, and its `object` field is the effect object. The host closes an
// object through the record's dispatcher with kEffClose, which deletes the object (and the
// ModuleRecord and AEffect it owns).
//
// EffectObject's virtual operations are declared in a fixed order: their position in the
// method table is part of the interface (position 0 is the destructor). Reserved positions
// keep the numbering and must never be removed or reordered; new operations take a
// reserved position.

#include <cstdint>

namespace T730
{

class EffectObject;
struct AEffect;

//==============================================================================
// Callbacks and entry point

/** The host's answer to a module's request (opcodes: HostOpcode). */
using HostCallback = intptr_t (*) (AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                   void* ptr, float opt);

/** The module's dispatcher (opcodes: EffectOpcode). */
using DispatcherProc = intptr_t (*) (AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt);

/** What the entry point returns. Only the second field is read by the host. */
struct ModuleRecord
{
    intptr_t abiVersion;   // kModuleAbiVersion
    AEffect* effect;       // the new object's record
};

using ModuleEntryPoint = ModuleRecord* (*) (HostCallback host);

inline constexpr const char* kModuleEntryPoint = "OxTypeIF";
inline constexpr const char* kModuleEntryPointFallback = "getinterface";
inline constexpr intptr_t kModuleAbiVersion = 1;

/** The four letters "VstP" read as a big-endian number. */
inline constexpr int32_t kEffectMagic = 0x56737450;

//==============================================================================
/** The record that identifies one effect object. Owned by the object. */
struct AEffect
{
    int32_t magic;               // kEffectMagic
    DispatcherProc dispatcher;   // forwards to EffectObject::dispatcher; kEffClose deletes the object
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;               // kEffectFlag...
    int32_t uniqueId;
    int32_t version;
    EffectObject* object;        // the effect object
    void* user;                  // free for the host, never touched by the module
};

inline constexpr int32_t kEffectFlagCanDoubleReplacing = 1 << 12;

//==============================================================================
/** Dispatcher opcodes the modules answer. Text opcodes write a C string into `ptr`, a zeroed
    buffer of kTextBufferSize bytes (at most kTextBufferSize - 1 characters). */
enum EffectOpcode : int32_t
{
    kEffOpen = 0,
    kEffClose = 1,           // deletes the object; the AEffect is invalid afterwards
    kEffParamLabel = 6,      // unit of parameter `index` ("%", "Hz", "")
    kEffParamDisplay = 7,    // current value of parameter `index` as text ("100")
    kEffParamName = 8,       // name of parameter `index` ("Level")
    kEffSetSampleRate = 10,  // `opt` = rate
    kEffSetBlockSize = 11,   // `value` = frames
};

inline constexpr int kTextBufferSize = 65;

/** Requests a module may send to the host callback, and what the host answers. */
enum HostOpcode : int32_t
{
    kHostVersion = 1,           // 0x2400
    kHostCurrentId = 2,         // 0
    kHostGetTime = 7,           // pointer to the process-wide TimeInfo
    kHostSampleRate = 16,       // engine sample rate, truncated
    kHostBlockSize = 17,        // engine block size
    kHostProcessLevel = 24,     // 1
    kHostSampleRateAlt = 30,    // engine sample rate, truncated
    kHostVendorName = 32,       // application name copied into ptr (63 characters at most); 0
    kHostProductName = 33,      // as kHostVendorName
    kHostLanguage = 34,         // 1
    kHostCanDo = 37,            // 1 when ptr names a supported capability, else 0
};

inline constexpr intptr_t kHostVersionAnswer = 0x2400;

//==============================================================================
/** The transport record answered to kHostGetTime. */
struct TimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double quarterNotePos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;               // kTime...Valid
};

inline constexpr int32_t kTimeQuarterNotePosValid = 1 << 9;   // 0x200
inline constexpr int32_t kTimeTempoValid = 1 << 10;           // 0x400

//==============================================================================
/** Description of one parameter; the host zeroes it before getParameterProperties. */
struct EffectParamProperties
{
    float stepFloat;
    float smallStepFloat;        // used with kParamUsesFloatStep
    float largeStepFloat;
    char label[64];
    int32_t flags;               // kParam...
    int32_t minInteger;          // used with kParamUsesIntegerMinMax
    int32_t maxInteger;
    int32_t stepInteger;
    int32_t largeStepInteger;
    char shortLabel[8];
};

inline constexpr int32_t kParamIsSwitch = 1 << 0;
inline constexpr int32_t kParamUsesIntegerMinMax = 1 << 1;
inline constexpr int32_t kParamUsesFloatStep = 1 << 2;

//==============================================================================
/** Receives a module's reports (the tuner: each detected frequency in Hz). Called on the
    thread that runs the module's processing; the listener must return at once. */
class Ox_VstListner
{
public:
    virtual void listnerNotify (float value) = 0;

protected:
    ~Ox_VstListner() = default;
};

//==============================================================================
/** The effect object. The comment before each operation is its position in the method table. */
class EffectObject
{
public:
#define OXA_RESERVED_SLOT(n) \
    virtual intptr_t reservedSlot##n() { return 0; }

    /* 0 */ virtual ~EffectObject() = default;
    /* 1 */ virtual intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) = 0;
    OXA_RESERVED_SLOT (2) OXA_RESERVED_SLOT (3) OXA_RESERVED_SLOT (4) OXA_RESERVED_SLOT (5)
    /* 6 */ virtual void setSampleRate (float sampleRate) = 0;
    /* 7 */ virtual void setBlockSize (int32_t blockSize) = 0;
    OXA_RESERVED_SLOT (8)
    /* 9 */ virtual void processDoubleReplacing (double** inputs, double** outputs, int32_t frames) = 0;
    /* 10 */ virtual void setParameter (int32_t index, float value) = 0;
    /* 11 */ virtual float getParameter (int32_t index) = 0;
    OXA_RESERVED_SLOT (12) OXA_RESERVED_SLOT (13) OXA_RESERVED_SLOT (14) OXA_RESERVED_SLOT (15)
    OXA_RESERVED_SLOT (16) OXA_RESERVED_SLOT (17) OXA_RESERVED_SLOT (18) OXA_RESERVED_SLOT (19)
    OXA_RESERVED_SLOT (20) OXA_RESERVED_SLOT (21) OXA_RESERVED_SLOT (22) OXA_RESERVED_SLOT (23)
    OXA_RESERVED_SLOT (24) OXA_RESERVED_SLOT (25) OXA_RESERVED_SLOT (26) OXA_RESERVED_SLOT (27)
    OXA_RESERVED_SLOT (28) OXA_RESERVED_SLOT (29)
    /* 30 */ virtual AEffect* getAeffect() = 0;
    OXA_RESERVED_SLOT (31) OXA_RESERVED_SLOT (32) OXA_RESERVED_SLOT (33) OXA_RESERVED_SLOT (34)
    OXA_RESERVED_SLOT (35) OXA_RESERVED_SLOT (36) OXA_RESERVED_SLOT (37) OXA_RESERVED_SLOT (38)
    OXA_RESERVED_SLOT (39) OXA_RESERVED_SLOT (40) OXA_RESERVED_SLOT (41) OXA_RESERVED_SLOT (42)
    OXA_RESERVED_SLOT (43) OXA_RESERVED_SLOT (44) OXA_RESERVED_SLOT (45) OXA_RESERVED_SLOT (46)
    OXA_RESERVED_SLOT (47) OXA_RESERVED_SLOT (48) OXA_RESERVED_SLOT (49) OXA_RESERVED_SLOT (50)
    OXA_RESERVED_SLOT (51)
    /* 52 */ virtual bool getParameterProperties (int32_t index, EffectParamProperties* properties) = 0;
    OXA_RESERVED_SLOT (53) OXA_RESERVED_SLOT (54) OXA_RESERVED_SLOT (55) OXA_RESERVED_SLOT (56)
    OXA_RESERVED_SLOT (57) OXA_RESERVED_SLOT (58) OXA_RESERVED_SLOT (59) OXA_RESERVED_SLOT (60)
    OXA_RESERVED_SLOT (61) OXA_RESERVED_SLOT (62) OXA_RESERVED_SLOT (63) OXA_RESERVED_SLOT (64)
    OXA_RESERVED_SLOT (65) OXA_RESERVED_SLOT (66) OXA_RESERVED_SLOT (67) OXA_RESERVED_SLOT (68)
    OXA_RESERVED_SLOT (69) OXA_RESERVED_SLOT (70) OXA_RESERVED_SLOT (71) OXA_RESERVED_SLOT (72)
    OXA_RESERVED_SLOT (73) OXA_RESERVED_SLOT (74) OXA_RESERVED_SLOT (75) OXA_RESERVED_SLOT (76)
    OXA_RESERVED_SLOT (77) OXA_RESERVED_SLOT (78) OXA_RESERVED_SLOT (79) OXA_RESERVED_SLOT (80)
    OXA_RESERVED_SLOT (81) OXA_RESERVED_SLOT (82) OXA_RESERVED_SLOT (83) OXA_RESERVED_SLOT (84)
    OXA_RESERVED_SLOT (85) OXA_RESERVED_SLOT (86) OXA_RESERVED_SLOT (87) OXA_RESERVED_SLOT (88)
    OXA_RESERVED_SLOT (89) OXA_RESERVED_SLOT (90) OXA_RESERVED_SLOT (91) OXA_RESERVED_SLOT (92)
    OXA_RESERVED_SLOT (93) OXA_RESERVED_SLOT (94) OXA_RESERVED_SLOT (95) OXA_RESERVED_SLOT (96)
    OXA_RESERVED_SLOT (97) OXA_RESERVED_SLOT (98) OXA_RESERVED_SLOT (99) OXA_RESERVED_SLOT (100)
    OXA_RESERVED_SLOT (101) OXA_RESERVED_SLOT (102) OXA_RESERVED_SLOT (103) OXA_RESERVED_SLOT (104)
    OXA_RESERVED_SLOT (105) OXA_RESERVED_SLOT (106) OXA_RESERVED_SLOT (107) OXA_RESERVED_SLOT (108)
    OXA_RESERVED_SLOT (109) OXA_RESERVED_SLOT (110) OXA_RESERVED_SLOT (111) OXA_RESERVED_SLOT (112)
    OXA_RESERVED_SLOT (113) OXA_RESERVED_SLOT (114) OXA_RESERVED_SLOT (115) OXA_RESERVED_SLOT (116)
    OXA_RESERVED_SLOT (117) OXA_RESERVED_SLOT (118) OXA_RESERVED_SLOT (119) OXA_RESERVED_SLOT (120)
    OXA_RESERVED_SLOT (121) OXA_RESERVED_SLOT (122) OXA_RESERVED_SLOT (123) OXA_RESERVED_SLOT (124)
    OXA_RESERVED_SLOT (125) OXA_RESERVED_SLOT (126) OXA_RESERVED_SLOT (127) OXA_RESERVED_SLOT (128)
    OXA_RESERVED_SLOT (129) OXA_RESERVED_SLOT (130) OXA_RESERVED_SLOT (131) OXA_RESERVED_SLOT (132)
    OXA_RESERVED_SLOT (133) OXA_RESERVED_SLOT (134) OXA_RESERVED_SLOT (135) OXA_RESERVED_SLOT (136)
    OXA_RESERVED_SLOT (137) OXA_RESERVED_SLOT (138) OXA_RESERVED_SLOT (139) OXA_RESERVED_SLOT (140)
    OXA_RESERVED_SLOT (141) OXA_RESERVED_SLOT (142) OXA_RESERVED_SLOT (143) OXA_RESERVED_SLOT (144)
    OXA_RESERVED_SLOT (145) OXA_RESERVED_SLOT (146) OXA_RESERVED_SLOT (147) OXA_RESERVED_SLOT (148)
    OXA_RESERVED_SLOT (149) OXA_RESERVED_SLOT (150) OXA_RESERVED_SLOT (151)

    // 152 to 158: the modules' own queries, passed through by the host's nodes. Their meaning
    // belongs to each module; a host without an object answers 1, 1, 2, 1, 0, 0, -1.
    /* 152 */ virtual int32_t moduleQuery152() = 0;
    /* 153 */ virtual int32_t moduleQuery153() = 0;
    /* 154 */ virtual int32_t moduleQuery154 (int32_t index) = 0;
    /* 155 */ virtual int32_t moduleQuery155 (int32_t index) = 0;
    /* 156 */ virtual int32_t moduleQuery156 (int32_t index) = 0;
    /* 157 */ virtual int32_t moduleQuery157 (int32_t index) = 0;
    /* 158 */ virtual int32_t moduleQuery158() = 0;
    /* 159 */ virtual void setListener (Ox_VstListner* listener) = 0;     // null detaches
    /* 160 */ virtual void getDisplayTextForValue (int32_t index, float value, char* text) = 0;  // kTextBufferSize
    OXA_RESERVED_SLOT (161)
    /* 162 */ virtual void setTapTime (float seconds) = 0;

#undef OXA_RESERVED_SLOT
};

} // namespace T730

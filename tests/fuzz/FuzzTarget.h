#pragma once

// The entry points of the fuzz targets: one per reader of untrusted input. Each
// target file defines its entry with OXA_FUZZ_TARGET. The same entries serve two
// builds: libFuzzer executables (scripts/fuzz), and the replay test of the normal
// build, which runs every input of each target's seed corpus through them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace oxafuzz
{

using Entry = int (*) (const uint8_t* data, size_t size);

struct Target
{
    std::string name;
    Entry entry = nullptr;
    /** Where its seed inputs are, besides tests/fuzz/corpus/<name>: "stage:<pattern>"
        (a glob below the staged install folder), "corpus:<folder>" (another corpus folder). */
    std::vector<std::string> seeds;
};

bool add (const char* name, Entry entry, std::vector<std::string> seeds);
const std::vector<Target>& all();

/** Stops the target with a message when a property that must hold does not
    (libFuzzer reports the abort as a finding; the replay test as a crash). */
void require (bool condition, const char* what);

} // namespace oxafuzz

#define OXA_FUZZ_TARGET(name, ...)                                                                  \
    static int oxaFuzzEntry_##name (const uint8_t* data, size_t size);                             \
    [[maybe_unused]] static const bool oxaFuzzAdded_##name                                          \
        = oxafuzz::add (#name, &oxaFuzzEntry_##name, std::vector<std::string> { __VA_ARGS__ });     \
    static int oxaFuzzEntry_##name (const uint8_t* data, size_t size)

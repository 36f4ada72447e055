// Every input of every fuzz target's seed corpus (the reproducers found so far,
// and the staged factory files) runs through the same entry points in the normal
// build, so that a fixed crash stays fixed.

#include "FuzzTarget.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
    const oxafuzz::Target* findTarget (const std::string& name)
    {
        for (const auto& target : oxafuzz::all())
            if (target.name == name)
                return &target;
        return nullptr;
    }

    std::vector<std::string> targetNames()
    {
        std::vector<std::string> names;
        for (const auto& target : oxafuzz::all())
            names.push_back (target.name);
        return names;
    }

    /** The files of one seed place: "stage:<folder>/<pattern>" (folder "*" for
        every folder of the stage, none for its top) or "corpus:<folder>". */
    juce::Array<juce::File> seedFiles (const std::string& spec)
    {
        const juce::String text (spec);
        const auto kind = text.upToFirstOccurrenceOf (":", false, false);
        const auto place = text.fromFirstOccurrenceOf (":", false, false);
        juce::Array<juce::File> files;

        if (kind == "corpus")
            return juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile (place).findChildFiles (juce::File::findFiles, false);

        const auto folder = place.upToLastOccurrenceOf ("/", false, false);
        const auto pattern = place.fromLastOccurrenceOf ("/", false, false);
        juce::Array<juce::File> folders;
        if (! place.containsChar ('/'))
            folders.add (oxatest::stageFolder());
        else if (folder == "*")
            folders = oxatest::stageFolder().findChildFiles (juce::File::findDirectories, false);
        else
            folders.add (oxatest::stageFolder().getChildFile (folder));

        for (const auto& f : folders)
            files.addArray (f.findChildFiles (juce::File::findFiles, false, pattern));
        return files;
    }

    class FuzzReplay : public ::testing::TestWithParam<std::string>
    {
    };
} // namespace

TEST_P (FuzzReplay, EveryInputOfItsCorpusRunsThroughTheEntry)
{
    const auto* target = findTarget (GetParam());
    ASSERT_NE (target, nullptr);

    auto files = juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile (target->name).findChildFiles (juce::File::findFiles, false);
    for (const auto& spec : target->seeds)
        files.addArray (seedFiles (spec));
    files.sort();

    int replayed = 0;
    for (const auto& file : files)
    {
        juce::MemoryBlock data;
        ASSERT_TRUE (file.loadFileAsData (data)) << file.getFullPathName();
        SCOPED_TRACE (file.getFullPathName().toStdString());
        target->entry (static_cast<const uint8_t*> (data.getData()), data.getSize());
        ++replayed;
    }

    EXPECT_GT (replayed, 0) << "a target without seeds tests nothing";
    std::cout << "[ figure ] " << target->name << ": " << replayed << " inputs replayed" << std::endl;
}

INSTANTIATE_TEST_SUITE_P (FuzzCorpus, FuzzReplay, ::testing::ValuesIn (targetNames()),
                          [] (const ::testing::TestParamInfo<std::string>& info) { return info.param; });

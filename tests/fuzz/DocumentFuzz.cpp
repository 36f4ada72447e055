// The XML documents the program reads: any document at all, and the settings,
// tool set, patch group and single patch records read from one.

#include "FuzzSupport.h"
#include "app/AppSetting.h"
#include "documents/PatchData.h"
#include "documents/PatchSet.h"
#include "documents/Project.h"

OXA_FUZZ_TARGET (XmlDocument, "corpus:Xml", "stage:*/*.xml", "stage:*.xml")
{
    // Whatever parses is written back to text that parses to the same tree.
    auto root = oxafuzz::parseBytes (data, size);
    if (root == nullptr)
        return 0;

    const auto text = T730::createDocumentText (*root);
    auto back = T730::parseXmlText (text);
    oxafuzz::require (back != nullptr, "every element tree is written as a document that parses");
    oxafuzz::require (T730::createDocumentText (*back) == text, "written documents are stable");
    return 0;
}

OXA_FUZZ_TARGET (Settings, "corpus:Xml", "stage:setting/*.xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    T730::AppSetting settings;
    if (settings.read (root.get()))
        oxafuzz::requireRoundTrip (settings, T730::AppSetting::rootTag);
    return 0;
}

OXA_FUZZ_TARGET (ToolSet, "corpus:Xml", "stage:toolsets/*.xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    T730::Project project;
    if (project.read (root.get()))
        oxafuzz::requireRoundTrip (project, T730::Project::rootTag);
    return 0;
}

OXA_FUZZ_TARGET (PatchGroup, "corpus:Xml", "stage:patchgroupM7/*.xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    auto group = std::make_unique<T730::PatchSet>();
    if (group->read (root.get()))
    {
        juce::XmlElement written ("PatchSet");
        oxafuzz::require (group->write (&written), "a group that was read can be written");
        auto back = T730::parseXmlText (T730::createDocumentText (written));
        auto again = std::make_unique<T730::PatchSet>();
        oxafuzz::require (back != nullptr && again->read (back.get()), "a written group reads again");
        oxafuzz::require (again->Name == group->Name, "the group keeps its name");
        for (int i = 0; i < T730::PatchSet::numPatches; ++i)
            oxafuzz::require (again->patches[(size_t) i].edit.sameContentAs (group->patches[(size_t) i].edit),
                              "every patch keeps its name and values");
    }
    return 0;
}

OXA_FUZZ_TARGET (Patch, "corpus:Xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    T730::PatchData patch;
    if (patch.readPatchFile (root.get()))
    {
        juce::XmlElement written ("PatchData");
        oxafuzz::require (patch.writePatchFile (&written), "a patch that was read can be written");
        auto back = T730::parseXmlText (T730::createDocumentText (written));
        T730::PatchData again;
        oxafuzz::require (again.readPatchFile (back.get()), "a written patch file reads again");
        oxafuzz::require (again.edit.sameContentAs (patch.edit), "the patch keeps its name and values");
    }
    return 0;
}

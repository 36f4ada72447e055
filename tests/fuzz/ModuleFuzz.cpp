// The module catalogue and the module descriptions: whatever they name, no name
// becomes a path outside the resources folder, and a description's parameters
// are read into a node without trouble.

#include "FuzzSupport.h"
#include "documents/XmlPath.h"
#include "editor/ModuleDescription.h"
#include "editor/ModuleNameLoader.h"
#include "editor/ModulePictures.h"
#include "engine/DspLoader.h"
#include "engine/TypeLib.h"
#include "platform/DataFolders.h"

namespace
{
    const juce::File resources ("/nonexistent-oxa-resources");

    /** True when the file is empty (refused) or directly inside the folder. */
    bool isRefusedOrInside (const juce::File& file, const juce::File& folder)
    {
        return file == juce::File() || file.getParentDirectory() == folder;
    }

    void requireStaysInResources (const juce::String& key)
    {
        oxafuzz::require (isRefusedOrInside (T730::plainChild (resources, key + ".orc"), resources),
                          "an archive name stays in the resources folder");
        oxafuzz::require (isRefusedOrInside (T730::getResourceArchive (key), T730::getResourceFolder()),
                          "an archive path stays in the resources folder");
        oxafuzz::require (isRefusedOrInside (T730::getEffectModuleLibrary (key), T730::getResourceFolder()),
                          "a module library stays in the resources folder");
        oxafuzz::require (T730::isPlainModuleName (key) == T730::isPlainName (key), "one rule for module names");
    }
} // namespace

OXA_FUZZ_TARGET (Catalogue, "corpus:Xml", "stage:resources/Module.xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    const auto catalogue = T730::readModuleCatalogue (root.get());
    oxafuzz::require (catalogue.size() <= 9, "at most nine categories");

    for (const auto& category : catalogue)
    {
        oxafuzz::require (category.keys.size() == category.names.size(), "a name for every key");
        for (const auto& key : category.keys)
            requireStaysInResources (key);
    }
    return 0;
}

OXA_FUZZ_TARGET (ModuleDescription, "corpus:Xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    if (root == nullptr)
        return 0;

    const auto layout = T730::readModuleLayout (*root);
    for (const auto& ctrl : layout.ctrls)
    {
        oxafuzz::require (ctrl.param.dspMax >= 0 && ctrl.param.dspMax <= T730::ControlRules::largestDspMax,
                          "step counts stay in range");
        juce::ignoreUnused (ctrl.param.shownText (ctrl.param.dspMax));

        const int frames = juce::jmin (ctrl.frameCount(), 4);
        for (int frame = 0; frame < frames; ++frame)
        {
            const auto name = T730::resolveModulePictureName ("Fuzz", SE_CtrlDesc::framePictureName (ctrl.img, frame));
            if (T730::isPlainModuleName (name.archive) && T730::isPlainModuleName (name.fileName))
                oxafuzz::require (! name.archive.startsWithChar ('~') && ! name.fileName.startsWithChar ('~'),
                                  "picture names never start at the home folder");
        }
    }

    // A node without an object described by every control, as the editor does it.
    T730::TypeLib node ({}, nullptr, false, false);
    if (auto* ctrls = T730::findElement (root.get(), "Ctrls"))
        for (auto* ctrl : ctrls->getChildWithTagNameIterator ("Ctrl"))
            node.describeParameter (*ctrl);

    for (int i = 0; i < node.getNumParams(); ++i)
    {
        juce::String text;
        node.getParamText (i, text);
        node.setStep (i, node.getMaxStep (i), true);
        oxafuzz::require (node.getStep (i, true) >= 0, "steps are never negative");
    }
    return 0;
}

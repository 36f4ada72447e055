#include "EditorTestSupport.h"

#include "documents/PatchSet.h"
#include "documents/XmlParser.h"
#include "editor/ModuleNameLoader.h"

namespace editortest
{

std::vector<T730::EditBuf> factoryPatches (const juce::String& groupFileName)
{
    std::vector<T730::EditBuf> buffers;
    auto root = T730::parseXmlFile (oxatest::stageFolder().getChildFile ("patchgroupM7").getChildFile (groupFileName));
    if (root == nullptr)
        return buffers;
    auto set = std::make_unique<T730::PatchSet>();
    if (! set->read (root.get()))
        return buffers;
    for (int i = 0; i < set->count; ++i)
        buffers.push_back (set->patches[(size_t) i].edit);
    return buffers;
}

int indexOfKey (int category, const juce::String& key)
{
    static const auto catalogue = T730::readModuleCatalogue (stagedResources().getChildFile ("Module.xml"));
    for (const auto& node : catalogue)
        if (node.category == category)
            return node.keys.indexOf (key);
    return -1;
}

T730::EditBuf bufferWithTypes (int comp, int drive, int mod, int delay, int reverb, int cabinet)
{
    T730::EditBuf b;
    b.setParam (1, 1, comp);
    b.setParam (2, 1, drive);
    b.setParam (5, 1, mod);
    b.setParam (6, 1, delay);
    b.setParam (7, 1, reverb);
    b.setParam (4, 0, 1);
    b.setParam (4, 2, 10 * cabinet + 3);
    return b;
}

juce::Point<int> sectionPointOf (T730::SectionEditor& editor, const T730::CtrlBase& control)
{
    const auto geo = editor.getFloor().getGeometry();
    const auto c = control.getBounds().getCentre();
    const int x = (int) ((juce::int64) (c.x - geo.view.getX()) * editor.getWidth() / geo.view.getWidth());
    const int y = (int) ((juce::int64) (c.y + geo.bandTop - geo.view.getY()) * editor.getHeight() / geo.view.getHeight());
    return { x, y };
}

void bringIntoView (T730::SectionEditor& editor, int slot)
{
    auto* view = editor.getView (slot);
    if (view == nullptr)
        return;
    editor.getFloor().setViewX (view->getModuleBounds().getX() - 20);
    waitForFloor (editor);
}

} // namespace editortest

#include "engine/NetListItem.h"

#include "documents/Archive.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "engine/DspLoader.h"

namespace T730
{
namespace
{
std::atomic<ModuleArchiveUser*> archiveUser { nullptr };
} // namespace

NetListItem::NetListItem (const juce::String& moduleName, NetListOwner* nodeOwner, const juce::File& folder)
    : name (moduleName), owner (nodeOwner), resourceFolder (folder)
{
}

NetListItem::~NetListItem()
{
    if (layoutLoaded)
        if (auto* user = archiveUser.load())
            user->releaseArchive (name);
    layout.reset();
    view.reset();
    links.clear();
}

void NetListItem::setArchiveUser (ModuleArchiveUser* user)
{
    archiveUser = user;
}

bool NetListItem::loadLayout()
{
    if (layoutLoaded)
        return true;
    if (layoutMissing || ! isPlainModuleName (name))
        return false;

    // A module without an archive (the PC-side modules) would otherwise look on
    // the disk at every parameter change, from whichever thread sets it.
    const auto text = readArchiveText (resourceFolder.getChildFile (name + ".orc").getChildFile ("EfxType.xml"));
    auto root = text.isEmpty() ? nullptr : parseXmlText (text);
    if (root == nullptr)
    {
        layoutMissing = true;
        return false;
    }

    if (auto* ctrls = findElement (root.get(), "Ctrls"))
    {
        for (auto* ctrl : ctrls->getChildWithTagNameIterator ("Ctrl"))
        {
            const int prm = ctrl->getIntAttribute ("prm", 0);
            if (auto* setWhenEdited = ctrl->getChildByName ("SetWhenEdited"))
                for (auto* willSet : setWhenEdited->getChildWithTagNameIterator ("WillSet"))
                    links.push_back ({ prm, getElementInt (willSet, "Prm", -1), getElementInt (willSet, "To", 0) });
        }
    }

    layout = std::move (root);
    if (auto* user = archiveUser.load())
        user->acquireArchive (name);
    layoutLoaded = true;
    return true;
}

void NetListItem::setView (std::unique_ptr<NetListView> newView)
{
    view = std::move (newView);
}

void NetListItem::releaseView()
{
    if (--viewCount <= 0)
        delete this;
}

} // namespace T730

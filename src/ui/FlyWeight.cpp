#include "ui/FlyWeight.h"

#include "platform/SharedInstance.h"

namespace T730
{
int FlyWeightNode::getUseCount() const
{
    const juce::ScopedLock sl (lock);
    return useCount;
}

int FlyWeightNode::getNumPictures() const
{
    const juce::ScopedLock sl (lock);
    int count = 0;
    for (auto* child : children)
        if (dynamic_cast<const FlyWeightNode*> (child) == nullptr)
            ++count;
    return count;
}

FlyWeightNode* FlyWeightNode::findChildNode (const juce::String& childName) const
{
    for (auto* child : children)
        if (auto* node = dynamic_cast<FlyWeightNode*> (child))
            if (node->getName() == childName)
                return node;
    return nullptr;
}

FlyWeight* FlyWeight::getInstance()
{
    return SharedInstance<FlyWeight>::get ([] { return std::make_unique<FlyWeight>(); });
}

void FlyWeight::deleteInstance()
{
    SharedInstance<FlyWeight>::destroy();
}

FlyWeightNode* FlyWeight::lookup (const juce::String& path)
{
    const juce::ScopedLock tl (treeLock);
    auto* node = &root;

    for (const auto& part : juce::StringArray::fromTokens (path, "/", {}))
    {
        if (part.isEmpty())
            continue;

        const juce::ScopedLock sl (node->lock);
        auto* child = node->findChildNode (part);
        if (child == nullptr)
            child = static_cast<FlyWeightNode*> (node->children.add (new FlyWeightNode (part, node)));
        node = child;
    }

    return node;
}

FlyWeightNode* FlyWeight::acquire (const juce::String& path)
{
    const juce::ScopedLock tl (treeLock);
    auto* node = lookup (path);
    const juce::ScopedLock sl (node->lock);
    ++node->useCount;
    return node;
}

void FlyWeight::release (const juce::String& path)
{
    const juce::ScopedLock tl (treeLock);
    auto* node = lookup (path);

    int count = 0;
    {
        const juce::ScopedLock sl (node->lock);
        count = --node->useCount;
    }

    if (count > 0 || node->parent == nullptr)
        return;

    auto* parent = node->parent;
    const juce::ScopedLock sl (parent->lock);
    parent->children.removeObject (node, true);
}

juce::Image FlyWeight::findPicture (FlyWeightNode* node, const juce::String& name) const
{
    if (node == nullptr)
        return {};

    // The children list may be changed by another thread storing a picture,
    // so the lookup holds the node's lock too.
    const juce::ScopedLock sl (node->lock);
    for (auto* child : node->children)
        if (auto* picture = dynamic_cast<const FlyWeightObj<juce::Image>*> (child))
            if (picture->getName() == name)
                return picture->get();
    return {};
}

void FlyWeight::storePicture (FlyWeightNode* node, const juce::String& name, const juce::Image& picture)
{
    if (node == nullptr)
        return;

    const juce::ScopedLock sl (node->lock);
    for (int i = node->children.size(); --i >= 0;)
        if (auto* old = dynamic_cast<const FlyWeightObj<juce::Image>*> (node->children.getUnchecked (i)))
            if (old->getName() == name)
                node->children.remove (i, true);

    node->children.add (new FlyWeightObj<juce::Image> (name, picture));
}

juce::Image FlyWeight::findPicture (const juce::String& path, const juce::String& name)
{
    const juce::ScopedLock tl (treeLock);
    return findPicture (lookup (path), name);
}

void FlyWeight::storePicture (const juce::String& path, const juce::String& name, const juce::Image& picture)
{
    const juce::ScopedLock tl (treeLock);
    storePicture (lookup (path), name, picture);
}

} // namespace T730

#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

namespace T730
{

/** A named entry of the picture cache: a node or a picture. */
class FlyWeightNodeBase
{
public:
    explicit FlyWeightNodeBase (const juce::String& entryName) : name (entryName) {}
    virtual ~FlyWeightNodeBase() = default;

    const juce::String& getName() const noexcept { return name; }

private:
    juce::String name;

    JUCE_DECLARE_NON_COPYABLE (FlyWeightNodeBase)
};

/** One cached object under its name (the picture name for pictures). */
template <typename ObjectType>
class FlyWeightObj : public FlyWeightNodeBase
{
public:
    FlyWeightObj (const juce::String& entryName, const ObjectType& objectToKeep)
        : FlyWeightNodeBase (entryName), object (objectToKeep) {}

    const ObjectType& get() const noexcept { return object; }

private:
    ObjectType object;
};

/** A node of the cache: one per archive name, holding the pictures read from
    that archive and possibly sub-nodes. Its use count says how many module
    objects hold it; the node and everything under it go when it drops to 0.

    The children list is written by whichever thread stores a picture or
    creates a sub-node (message thread or the editor's drawing thread) and is
    guarded by `lock`. */
class FlyWeightNode : public FlyWeightNodeBase
{
public:
    FlyWeightNode (const juce::String& nodeName, FlyWeightNode* parentNode)
        : FlyWeightNodeBase (nodeName), parent (parentNode) {}

    FlyWeightNode* getParent() const noexcept { return parent; }
    int getUseCount() const;
    int getNumPictures() const;

private:
    friend class FlyWeight;

    FlyWeightNode* findChildNode (const juce::String& childName) const;

    int useCount = 0;                           // guarded by `lock`
    juce::OwnedArray<FlyWeightNodeBase> children; // guarded by `lock`
    FlyWeightNode* parent;                      // owner of this node; null for the root
    juce::CriticalSection lock;
};

/** The process-wide picture cache. Module pictures are kept per archive under
    the root node "M7EDRoot"; a node path is split at "/".

    Node pointers handed out stay valid while the caller holds an acquire on
    that node (or on a node above it); nodes made by a plain lookup keep use
    count 0 and live until the process ends or someone releases them. Pictures
    are returned as juce::Image handles, which stay usable even after their
    cache entry is replaced or freed. */
class FlyWeight
{
public:
    /** The cache, created on first use under a process-wide lock. */
    static FlyWeight* getInstance();

    /** Deletes the cache (at shut-down; nothing may use it afterwards). */
    static void deleteInstance();

    /** Walks from the root along the "/"-separated names, creating missing
        nodes with use count 0. An empty path gives the root. */
    FlyWeightNode* lookup (const juce::String& path);

    /** lookup, then use count + 1. */
    FlyWeightNode* acquire (const juce::String& path);

    /** lookup, then use count - 1; at 0 or below the node is removed from its
        parent and deleted with every picture and sub-node under it. The root
        is never deleted. */
    void release (const juce::String& path);

    /** The first picture of the node stored under exactly that name; a null
        image when there is none. */
    juce::Image findPicture (FlyWeightNode* node, const juce::String& name) const;

    /** Replaces the picture of that name in the node (or adds it). */
    void storePicture (FlyWeightNode* node, const juce::String& name, const juce::Image& picture);

    /** findPicture in the node of a path, with the node looked up and read
        while no release can delete it: for callers that hold no acquire on the
        node (a picture of "Common", or one read while another thread may drop
        the last module of that archive). */
    juce::Image findPicture (const juce::String& path, const juce::String& name);

    /** storePicture into the node of a path, safe in the same way. */
    void storePicture (const juce::String& path, const juce::String& name, const juce::Image& picture);

    FlyWeightNode& getRoot() noexcept { return root; }

    static constexpr const char* rootName = "M7EDRoot";

    FlyWeight() : root (rootName, nullptr) {}
    ~FlyWeight() = default;

private:
    FlyWeightNode root;

    // Held while nodes are created or removed, so that a release never deletes
    // a node another thread is just walking through.
    juce::CriticalSection treeLock;

    JUCE_DECLARE_NON_COPYABLE (FlyWeight)
};

} // namespace T730

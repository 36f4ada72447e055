#pragma once

#include "editor/CtrlBase.h"

#include <memory>

namespace T730
{

class FxChain;
class TypeLib;
class TypeUI;

/** The view half of a module node, kept with the editor because the network
    knows nothing of the user interface. */

/** Builds the control of layout entry "Ctrls/Ctrl,index=n" of the node: its
    kind's class with the keys of the entry, the node's step range, default and
    current step; for a node without a live object the parameter it drives is
    described first. Null when there is no such entry or its kind creates no
    control. */
std::unique_ptr<CtrlBase> createControl (TypeLib& node, int layoutIndex);

/** Reads the node's layout, builds its view (or reuses the one it has) and
    appends it to the chain with a fresh record. False, and nothing appended,
    without a layout. */
bool buildView (TypeLib& node, FxChain& chain);

/** The same, putting the view in place of entry `index` of the chain (or
    appending at the end). */
bool buildViewAt (TypeLib& node, FxChain& chain, int index);

/** The node's view, when it has one. */
TypeUI* viewOf (TypeLib& node);

} // namespace T730

#pragma once

namespace T730
{

class SectionDialogs;
class Project;

/** What the sections hold of the controller: the numbered requests (codes in
    app/ControllerRequest.h; -1 true, 0 false, or a value), the current tool
    set, and the controller's posted messages. The main component hands every
    section one link. */
class ControllerLink
{
public:
    virtual ~ControllerLink() = default;

    /** Posts an update of the flagged sections to the controller
        (InstContUpdateUI); the update runs later on the message thread. */
    virtual void postUpdate (int sectionFlags) { (void) sectionFlags; }

    /** The message boxes and file dialogs; null where there are none (a
        section then asks nothing and only logs its errors). */
    virtual SectionDialogs* getDialogs() { return nullptr; }

    virtual int request (int code, int param1 = 0, int param2 = 0, void* data = nullptr) = 0;

    /** The current tool set (lives as long as the controller). */
    virtual Project& getCurrentProject() = 0;

    /** Posts a repaint of the flagged sections to the controller
        (InstContRepaintUI). Any thread; the repaint runs on the message thread. */
    virtual void postRepaint (int sectionFlags) { (void) sectionFlags; }

    /** Posts the editor's tooltip refresh to the controller
        (InstContMesUpdateTooltip). Any thread. */
    virtual void postTooltipUpdate() {}
};

} // namespace T730

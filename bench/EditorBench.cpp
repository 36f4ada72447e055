// Figures for the effect editor, in the program's own window wired to the
// virtual M7c: a knob turned through 100 steps (messages sent, redraws, time
// from the mouse event to the message on the cable), a storm of 1000 parameter
// changes per second from the device (all followed, how soon the strip shows
// them, the drawing queue), how long the message thread was ever kept from its
// messages, and the time to build the chain again after a type change. Needs a
// display; without one it says so and ends.
#include "VirtualM7c.h"

#include "app/GuiMain.h"
#include "app/HelloWorldWindow.h"
#include "app/InstContMes.h"
#include "app/InstController.h"
#include "app/OxException.h"
#include "app/UserDialogs.h"
#include "device/MidiRecvEv.h"
#include "documents/Project.h"
#include "editor/Controls.h"
#include "editor/SectionEditor.h"
#include "editor/TypeUI.h"
#include "engine/DspLoader.h"
#include "engine/TypeLib.h"
#include "platform/DataFolders.h"

#include "BenchDisplay.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

using namespace T730;

namespace
{


    double nowMs() { return juce::Time::getMillisecondCounterHiRes(); }

    struct Stats
    {
        std::vector<double> values;
        void add (double v) { values.push_back (v); }
        double median()
        {
            if (values.empty())
                return 0.0;
            std::sort (values.begin(), values.end());
            return values[values.size() / 2];
        }
        double max() const { return values.empty() ? 0.0 : *std::max_element (values.begin(), values.end()); }
        double percentile (double p)
        {
            if (values.empty())
                return 0.0;
            std::sort (values.begin(), values.end());
            return values[std::min (values.size() - 1, (size_t) (p * (double) values.size()))];
        }
        size_t size() const { return values.size(); }
    };

    /** The device's end of the cable, noting when each message reached it. */
    struct TimedPort : public MidiOutputPort
    {
        TimedPort (m7c::VirtualM7c& d, MidiMain& host) : device (d), link (host)
        {
            device.setHostSink ([this] (const m7c::Bytes& m) { link.receiveBytes (m.data(), m.size()); });
            link.setOutput (this);
        }
        ~TimedPort() override
        {
            link.setOutput (nullptr);
            device.setHostSink ({});
            device.waitUntilIdle (2000);
        }
        void sendBytes (const uint8_t* data, size_t size) override
        {
            lastSent = nowMs();
            ++sent;
            device.receiveFromHost (data, size);
        }
        m7c::VirtualM7c& device;
        MidiMain& link;
        std::atomic<double> lastSent { 0.0 };
        std::atomic<int> sent { 0 };
    };

    /** Stands between the controller and the main component: notes when device
        events and repaints of the editor are handled on the message thread. */
    struct TimingReceiver : public InstContMesReceiver
    {
        explicit TimingReceiver (GuiMain& g) : gui (g) {}
        int renders() const { return gui.getEditorSection().getFloor().getRenderCount(); }
        void updateSections (int f) override { gui.updateSections (f); }
        void repaintSections (int f) override
        {
            if ((f & sectionEditor) != 0)
                editorRepaints.push_back ({ nowMs(), renders() });
            gui.repaintSections (f);
        }
        void tunerPitchDetected (float p) override { gui.tunerPitchDetected (p); }
        void punchOut (juce::ReferenceCountedObject* r) override { gui.punchOut (r); }
        void updateTooltip (void* w) override { gui.updateTooltip (w); }
        void deviceEvent (const MidiRecvEv& e) override
        {
            if (e.getKind() == MidiRecvEv::parameterChange)
                handled.push_back ({ nowMs(), renders() });
            gui.deviceEvent (e);
        }
        GuiMain& gui;
        // (time, pictures of the strip finished by then)
        std::vector<std::pair<double, int>> handled, editorRepaints;
    };

    /** Posts a message every 2 ms and notes how late each one runs: the longest
        wait is the longest the message thread was kept from its messages. */
    struct Watchdog
    {
        Watchdog()
        {
            thread = std::thread ([this]
            {
                while (! quit)
                {
                    const double posted = nowMs();
                    juce::MessageManager::callAsync ([this, posted]
                    {
                        const std::lock_guard<std::mutex> lg (lock);
                        waits.add (nowMs() - posted);
                    });
                    std::this_thread::sleep_for (std::chrono::milliseconds (2));
                }
            });
        }
        ~Watchdog() { stop(); }
        void stop()
        {
            quit = true;
            if (thread.joinable())
                thread.join();
        }
        Stats take()
        {
            const std::lock_guard<std::mutex> lg (lock);
            auto s = waits;
            waits = {};
            return s;
        }
        std::atomic<bool> quit { false };
        std::mutex lock;
        Stats waits;
        std::thread thread;
    };

    void pump (int ms) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); }

    template <typename Fn>
    bool pumpUntil (Fn&& done, int timeoutMs)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
        while (! done())
        {
            if (juce::Time::getMillisecondCounter() > end)
                return false;
            pump (1);
        }
        return true;
    }

    /** Mouse events through the window's peer, as the system sends them. */
    struct Mouse
    {
        juce::Component& component;
        juce::int64 time = juce::Time::currentTimeMillis();
        void send (juce::Point<int> p, bool down)
        {
            auto* peer = component.getPeer();
            const auto at = peer->getComponent().getLocalPoint (&component, p).toFloat();
            const auto mods = down ? juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier) : juce::ModifierKeys();
            juce::ModifierKeys::currentModifiers = mods;
            time += 20;
            peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, at, mods,
                                    juce::MouseInputSource::defaultPressure, 0.0f, time);
        }
    };

    juce::Point<int> sectionPoint (SectionEditor& editor, juce::Point<int> floorPoint)
    {
        const auto geo = editor.getFloor().getGeometry();
        return { (floorPoint.x - geo.view.getX()) * editor.getWidth() / geo.view.getWidth(),
                 (floorPoint.y + geo.bandTop - geo.view.getY()) * editor.getHeight() / geo.view.getHeight() };
    }

    int indexOf (SectionEditor& editor, int category, const char* key)
    {
        for (const auto& node : editor.getCatalogue())
            if (node.category == category)
                return node.keys.indexOf (key);
        return -1;
    }
} // namespace

int main()
{
    if (std::getenv ("DISPLAY") == nullptr)
    {
        std::printf ("oxa_bench_editor: needs a display (DISPLAY is not set); nothing measured\n");
        return 0;
    }

    prepareDisplay();
    juce::ScopedJuceInitialiser_GUI juce;
    const auto root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("oxa-bench-editor", {}, false);
    const auto install = root.getChildFile ("install");
    install.createDirectory();
    juce::File (OXA_BENCH_RESOURCES_DIR).createSymbolicLink (install.getChildFile ("resources"), true);
    overrideFolderRoots (install, root.getChildFile ("documents"));
    for (auto* name : { UserFolder::toolsets, UserFolder::song, UserFolder::rhythm, UserFolder::setting,
                        UserFolder::patchgroup })
        getUserDataFolder (name, false).createDirectory();
    DspLoader::setDefaultResourceFolder (install.getChildFile ("resources"));
    OxException::setPresenter ([] (const juce::String&, const juce::String&) {});

    {
        m7c::VirtualM7c device;
        auto window = std::make_unique<HelloWorldWindow>();
        auto& controller = *window->getController();
        controller.quitApplication = [] {};
        auto& gui = *controller.getGui();
        auto& editor = gui.getEditorSection();
        TimingReceiver receiver (gui);
        controller.setMessageReceiver (&receiver);
        TimedPort port (device, *controller.getMidi());
        pump (300);

        // The long delay in the modulation slot: its time knob has 139 steps.
        auto& buffer = controller.getProject().editBuffer;
        {
            const juce::ScopedLock sl (buffer.lock);
            buffer.setParam (5, 1, indexOf (editor, 5, "Delay1"));
            buffer.setParam (5, 3, 0);
        }
        editor.updateSection();
        pumpUntil ([&] { return editor.getFloor().isIdle(); }, 5000);
        auto* view = editor.getView (3);
        CtrlBase* knob = nullptr;
        for (int i = 0; view != nullptr && i < view->getNumControls(); ++i)
            if (dynamic_cast<Knob*> (view->getControl (i)) != nullptr && view->getControl (i)->getParameter() == 3)
                knob = view->getControl (i);
        if (knob == nullptr)
        {
            std::printf ("oxa_bench_editor: the long delay's time knob is missing; nothing measured\n");
            return 1;
        }
        editor.getFloor().setViewX (view->getModuleBounds().getX() - 40);
        pumpUntil ([&] { return editor.getFloor().isIdle(); }, 5000);

        // What one repaint of the strip costs the message thread: the section's
        // copy of its picture, and the whole window that every repaint message asks for.
        {
            juce::Image canvas (juce::Image::ARGB, window->getWidth(), window->getHeight(), true);
            const int runs = 50;
            double start = nowMs();
            for (int i = 0; i < runs; ++i)
            {
                juce::Graphics g (canvas);
                editor.paintEntireComponent (g, true);
            }
            const double strip = (nowMs() - start) / runs;
            start = nowMs();
            for (int i = 0; i < runs; ++i)
            {
                juce::Graphics g (canvas);
                window->paintEntireComponent (g, true);
            }
            std::printf ("[ figure ] painting the strip: %.3f ms; the whole window: %.2f ms\n", strip, (nowMs() - start) / runs);
        }

        Watchdog watchdog;

        // 1. A knob turned through 100 steps, one step per mouse event, waiting for each redraw.
        {
            const int maxStep = knob->getMaxStep();
            const auto at = sectionPoint (editor, knob->getBounds().getCentre());
            Mouse mouse { editor };
            auto& floor = editor.getFloor();
            device.clearReceivedCommands();
            const int sentBefore = port.sent.load();
            const int rendersBefore = floor.getRenderCount();
            Stats toCable, toDrawn, toPicture;
            mouse.send (at, true);
            pumpUntil ([&] { return floor.isIdle(); }, 2000);
            const int commandsBefore = floor.getRedrawCommandCount();
            const int drawnBefore = floor.getControlRedrawCount();
            for (int step = 1; step <= 100; ++step)
            {
                const int pixels = (step * 150 + maxStep - 1) / maxStep;
                const int renders = floor.getRenderCount();
                const int frame = knob->getFrameIndex();
                const double start = nowMs();
                mouse.send ({ at.x, at.y - pixels }, true);
                toCable.add (port.lastSent.load() - start);
                pumpUntil ([&] { return floor.isIdle(); }, 2000);
                toDrawn.add (nowMs() - start);
                if (knob->getFrameIndex() != frame && floor.getRenderCount() > renders)
                    toPicture.add (nowMs() - start);
            }
            const int redrawCommands = floor.getRedrawCommandCount() - commandsBefore;
            mouse.send ({ at.x, at.y - (100 * 150 + maxStep - 1) / maxStep }, false);
            device.waitUntilIdle();
            pumpUntil ([&] { return floor.isIdle(); }, 2000);
            std::printf ("[ figure ] knob turned through 100 steps: %d parameter changes sent, %d received by the device\n",
                         port.sent.load() - sentBefore, device.countReceived (SysEx::Command::parameterChange));
            std::printf ("[ figure ] the same turn on the drawing thread: %d control redraws run for the 100 steps, %d of "
                         "them changed the knob's picture (%d frames for %d steps), %d new pictures of the strip "
                         "(the press and the release included)\n",
                         redrawCommands, floor.getControlRedrawCount() - drawnBefore, knob->getLastFrame() + 1, maxStep + 1,
                         floor.getRenderCount() - rendersBefore);
            std::printf ("[ figure ] mouse event to message on the cable: median %.3f ms, max %.3f ms\n",
                         toCable.median(), toCable.max());
            std::printf ("[ figure ] mouse event to the step drawn: median %.2f ms, max %.2f ms; to a new picture of "
                         "the strip: median %.2f ms, max %.2f ms\n",
                         toDrawn.median(), toDrawn.max(), toPicture.median(), toPicture.max());
            auto waits = watchdog.take();
            std::printf ("[ figure ] message thread kept from its messages while turning: median %.2f ms, 99th percentile "
                         "%.2f ms, max %.2f ms (%zu samples)\n", waits.median(), waits.percentile (0.99), waits.max(), waits.size());
        }

        // 2. A storm from the device: 1000 parameter changes per second for two seconds.
        {
            receiver.handled.clear();
            receiver.editorRepaints.clear();
            editor.getFloor().queue (FloorThread::redrawControls, nullptr);
            pumpUntil ([&] { return editor.getFloor().isIdle(); }, 2000);
            const int longestBefore = editor.getFloor().getLongestQueue();
            constexpr int count = 2000;
            std::vector<double> sentAt (count, 0.0);
            std::atomic<bool> done { false };
            std::thread player ([&]
            {
                const double start = nowMs();
                for (int k = 0; k < count; ++k)
                {
                    while (nowMs() < start + k * 1.0)
                        std::this_thread::yield();
                    sentAt[(size_t) k] = nowMs();
                    device.turnKnob (1, 2, k % 9);
                }
                done = true;
            });
            pumpUntil ([&] { return done.load(); }, 10000);
            player.join();
            device.waitUntilIdle();
            const double lastSent = sentAt.back();
            pumpUntil ([&] { return (int) receiver.handled.size() >= count && editor.getFloor().isIdle(); }, 5000);
            const double caughtUp = nowMs() - lastSent;

            Stats toThread, toScreen;
            size_t r = 0;
            // The changes arrive in the order they were sent. A change handled
            // when n pictures were finished is in picture n + 2 at the latest
            // (n + 1 may have been under way); the first repaint of the strip
            // once that picture exists shows it.
            for (size_t k = 0; k < receiver.handled.size() && k < (size_t) count; ++k)
            {
                const auto [at, finished] = receiver.handled[k];
                toThread.add (at - sentAt[k]);
                while (r < receiver.editorRepaints.size()
                       && (receiver.editorRepaints[r].first < at || receiver.editorRepaints[r].second < finished + 2))
                    ++r;
                if (r < receiver.editorRepaints.size())
                    toScreen.add (receiver.editorRepaints[r].first - sentAt[k]);
            }
            int lost = count - (int) receiver.handled.size();
            std::printf ("[ figure ] device storm of %d changes at 1000/s (the compressor's knob): %d handled, %d lost, "
                         "%zu repaints of the strip, the knob at %d (sent last: %d)\n",
                         count, (int) receiver.handled.size(), lost, receiver.editorRepaints.size(),
                         editor.getView (0) != nullptr ? editor.getView (0)->getModule().getStep (2, true) : -1, (count - 1) % 9);
            std::printf ("[ figure ] device change to the message thread: median %.2f ms, max %.2f ms\n",
                         toThread.median(), toThread.max());
            std::printf ("[ figure ] device change to the repaint that shows it (upper bound): median %.2f ms, max %.2f ms; "
                         "all shown %.2f ms after the last change\n", toScreen.median(), toScreen.max(), caughtUp);
            std::printf ("[ figure ] drawing queue: longest %d commands (before the storm %d), %d pending after it\n",
                         editor.getFloor().getLongestQueue(), longestBefore, editor.getFloor().getQueueLength());
            auto waits = watchdog.take();
            std::printf ("[ figure ] message thread kept from its messages during the storm: median %.2f ms, 99th percentile "
                         "%.2f ms, max %.2f ms (%zu samples)\n", waits.median(), waits.percentile (0.99), waits.max(), waits.size());
        }

        // 3. Type changes: the slot's module built again, the whole buffer sent.
        {
            const char* types[] = { "Chorus", "Flanger", "PitchBend", "Rotary", "Air", "Delay1" };
            Stats change;
            int which = 0;
            for (int round = 0; round < 24; ++round)
            {
                const int index = indexOf (editor, 5, types[which++ % 6]);
                editor.runTypeMenu = [index] (juce::PopupMenu&) { return index + 1; };
                const double start = nowMs();
                editor.changeType (3);
                change.add (nowMs() - start);
                pumpUntil ([&] { return editor.getFloor().isIdle(); }, 2000);
            }
            // A new patch: every type changed, or the same types with other values (an undo).
            const int firstTypes[] = { indexOf (editor, 1, "Compressor"), indexOf (editor, 2, "WarmDrive"),
                                       indexOf (editor, 5, "Chorus"), indexOf (editor, 6, "Delay"), indexOf (editor, 7, "Plate") };
            const int otherTypes[] = { indexOf (editor, 1, "AutoWah"), indexOf (editor, 2, "HotLead"),
                                       indexOf (editor, 5, "Flanger"), indexOf (editor, 6, "TapeEcho"), indexOf (editor, 7, "Hall") };
            Stats rebuild, sameTypes;
            for (int round = 0; round < 20; ++round)
            {
                const int* types = round % 2 == 0 ? firstTypes : otherTypes;
                {
                    const juce::ScopedLock sl (buffer.lock);
                    const int modules[] = { 1, 2, 5, 6, 7 };
                    for (int i = 0; i < 5; ++i)
                        buffer.setParam (modules[i], 1, types[i]);
                    buffer.setParam (4, 2, round % 2 == 0 ? 13 : 32);
                }
                double start = nowMs();
                editor.updateSection();
                rebuild.add (nowMs() - start);
                pumpUntil ([&] { return editor.getFloor().isIdle(); }, 2000);
                {
                    const juce::ScopedLock sl (buffer.lock);
                    buffer.setParam (1, 2, round % 9);
                }
                start = nowMs();
                editor.updateSection();
                sameTypes.add (nowMs() - start);
                pumpUntil ([&] { return editor.getFloor().isIdle(); }, 2000);
            }
            std::printf ("[ figure ] type change (module built again, buffer sent, undo step): median %.2f ms, max %.2f ms\n",
                         change.median(), change.max());
            std::printf ("[ figure ] whole chain built again for a patch of other types (every module new): median %.2f ms, "
                         "max %.2f ms; for the same types with other values (an undo): median %.2f ms, max %.2f ms\n",
                         rebuild.median(), rebuild.max(), sameTypes.median(), sameTypes.max());
            auto waits = watchdog.take();
            std::printf ("[ figure ] message thread kept from its messages around the rebuilds: max %.2f ms\n", waits.max());
        }

        watchdog.stop();
        pump (50);
        controller.setMessageReceiver (&gui);
        controller.getProject().edited = false;
        window.reset();
    }

    OxException::setPresenter ({});
    clearFolderRootOverrides();
    root.deleteRecursively();
    return 0;
}

// The editor inside a CLAP host's window: the gui extension's calls handed to the plug-in's own
// editor, kept going by the host's timer and (Linux) by the host watching the X connection.
#pragma once

#include <cstdint>
#include <memory>

#include "clap/ClapExtensions.h"
#include "editor/EditorHost.h"

class ClapPlugin;
class FreezeEditor;

// Main thread.
class ClapGui final : public EditorHost {
public:
    explicit ClapGui(ClapPlugin& owner);
    ~ClapGui();
    ClapGui(const ClapGui&) = delete;
    ClapGui& operator=(const ClapGui&) = delete;

    bool setScale(double scale);
    bool size(uint32_t& width, uint32_t& height);
    // Opens the editor in the host's window (again, after hide).
    bool attach(void* parent);
    bool show();
    bool hide();
    // The editor's idle: window events, live views, redraw; also watches the X connection.
    void idle();

    bool resizeEditor(int32_t width, int32_t height) override;

    FreezeEditor& editor() { return *view; }

private:
    bool open();
    void close();
    void watchConnection();
    void stopWatching();

    ClapPlugin& plugin;
    std::unique_ptr<FreezeEditor> view;
    void* parent = nullptr;
    bool opened = false;
    int watchedFd = -1;
    bool timerRunning = false;
    clap_id timer = CLAP_INVALID_ID;
};

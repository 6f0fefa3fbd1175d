// The program's one global application record: what start-up fixes, what the
// frame driver reads and writes each frame, and what the background threads
// count. The main thread owns every field except the atomics, which the pulse
// and autosave threads also change. The shell fills it; every view reads it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "gfx/gfx.h"

namespace nd {

struct MainViewState;  // the board's view, defined by board/
struct MainViewSteps;  // what the shell runs of it (session/main_view.h)

// What the frame loop is to do next.
constexpr int32_t kRunning = 1;
constexpr int32_t kRelayout = 3;        // re-lay-out at WindowWidth x WindowHeight
constexpr int32_t kRecreateCanvas = 4;  // new canvas size, then re-lay-out
constexpr int32_t kQuit = -1;
constexpr int32_t kQuitAndUpdate = -99;

constexpr int kPathSize = 260;

struct App {
    // Count limits, shown to the user as remaining counts.
    int32_t MaxBoardsPerGroup = 0;
    int32_t MaxCasesPerBoard = 0;
    int32_t MaxLinksPerCase = 0;

    std::atomic<int32_t> RunState{kRunning};
    int32_t TestMode = 0;

    char ProgramDir[kPathSize] = {};
    char WorkspacesDir[kPathSize] = {};
    char TableCfgPath[kPathSize] = {};
    char ConfigCfgPath[kPathSize] = {};
    std::string TempDir;      // the program's folder in the system temporary directory, with '/'
    std::string ScratchPath;  // the scratch file inside TempDir

    int32_t ActiveFps = 30;
    int32_t TargetFps = 30;
    // On when the current settings profile asks for high performance (60 fps).
    int32_t HighPerformance = 0;
    // Set once, by the update check, when a newer release is offered; it
    // never goes back. A workspace opened after it keeps the frame rate up
    // for a while (QuietCountdown).
    std::atomic<bool> UpdateAnnounced{false};
    std::atomic<int32_t> IdleTicks{0};
    std::atomic<int32_t> QuietCountdown{0};
    int32_t AnimationId = -1;
    int32_t AnimationFps = 30;
    int32_t AnimationCountdown = 0;  // under PulseLock
    std::atomic<int32_t> BlinkPhase{0};

    // Whether pointer or key input was pending when the last frame looked.
    bool InputPendingLastFrame = false;
    uint64_t FrameStartTicks = 0;

    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    int32_t WindowX = 0;
    int32_t WindowY = 0;
    int32_t WindowPlaced = 0;

    gfx::IMAGE* Canvas = nullptr;
    // Set and cleared under StorageLock, so the autosave thread never sees a
    // view that is being destroyed.
    MainViewState* MainView = nullptr;
    // The steps the frame driver and the autosave thread run on MainView;
    // set once before the view is made.
    const MainViewSteps* View = nullptr;

    // Guards AnimationCountdown between the pulse thread and the frame loop.
    std::mutex PulseLock;
};

// The record itself; the signal handler and the background threads reach it
// through here.
App& the_app();

}  // namespace nd

#pragma once
// The program's start-up, shared by main and the start-up benchmark.
class QApplication;
class MainWindow;

// Before the QApplication exists: the session bus off on a PC, the USB
// keypad probe and the core singletons with their files.
void start_core();
// With the QApplication: the main window with its 10 ms clock, the
// simulated device's threads, `pause_seconds` for the chips to settle, the
// home screen and the dispatcher's connections. The main window shows under
// the home screen once the home screen's first frame is painted.
MainWindow* start_panel(QApplication& app, unsigned pause_seconds);

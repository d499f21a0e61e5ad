#pragma once
// The application object: runs the main dialog and then lets the process end.

class CSettingsApp {
  public:
    // Shows the main dialog modally; false tells the caller not to run a
    // message loop of its own.
    bool InitInstance();
};

extern CSettingsApp theApp;

#pragma once

// Start-up: creates the settings object, shows the splash, names the data file, builds the
// connection string, creates and loads the main window, unloads the splash and shows the
// main window. Errors reach the caller.
void Main();

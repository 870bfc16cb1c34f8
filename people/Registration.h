#pragma once

// Registers this subsystem's screens and report layouts with the shell.
void RegisterPeople();

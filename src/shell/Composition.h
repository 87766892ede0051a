#pragma once
// The program made of its windows: every window's factory registered by its
// instance name, all of them created in the start-up order, the main window's
// start and stop steps joined to the settings file's placement, and the order
// rules attached to the journal row. The program and the tests that run the
// whole program call the same function.
class QWidget;

// Registers every window, creates them all and wires them; returns the main
// window (nullptr when it could not be made). WindowRegistry::destroyAll()
// takes them down again.
QWidget* ComposeProgram();

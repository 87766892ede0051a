#pragma once
// The main window's rectangle and state kept in the settings file.
class QWidget;

// Sets the window's rectangle from [MainForm] and maximises it when
// WindowState is exactly "wsMaximized".
void restorePlacement(QWidget* window);
// Writes the window's rectangle (the restored one when it is maximised or
// minimised) and "wsMaximized" or "wsNormal".
void savePlacement(QWidget* window);

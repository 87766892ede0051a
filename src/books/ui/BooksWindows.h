#pragma once
// Registers the factories of the reference-book windows with the window
// registry (before WindowRegistry::createAll runs): the record dialogs, the
// group and accompanying goods dialogs, the five flat books and the three
// tree books.
void RegisterBooksWindows();

#pragma once
class WindowRegistry;
// Registers the document windows with the main menu.
void RegisterDocumentWindows(WindowRegistry& reg);

#pragma once
struct WindowHooks;
// Registers the document windows with the main menu.
void RegisterDocumentWindows(WindowHooks& hooks);

#pragma once
// Attaches the layout designer to every print window of the top administrator.
void RegisterPrintDesigner();

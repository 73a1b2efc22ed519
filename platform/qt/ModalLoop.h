#pragma once

class QDialog;

// Runs a dialog's nested event loop. Before it starts, open readers give back the bytes they
// hold beyond their message, so that messages behind it are handled inside the loop.
int RunModalLoop(QDialog& dialog);

// The same preparation for any other nested loop (a context menu).
void PrepareNestedLoop();

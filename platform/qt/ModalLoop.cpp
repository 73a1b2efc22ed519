#include "platform/qt/ModalLoop.h"

#include <QDialog>

#include "platform/CArchive.h"

void PrepareNestedLoop() { CArchive::ReturnReadAheadOfOpenReaders(); }

int RunModalLoop(QDialog& dialog)
{
    PrepareNestedLoop();
    return dialog.exec();
}

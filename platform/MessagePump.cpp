#include "platform/MessagePump.h"

#include <QCoreApplication>

namespace brevimar {

void PumpOneMessage()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

}  // namespace brevimar

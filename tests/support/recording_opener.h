#pragma once

#include "platform/desktop_opener.h"

#include <QStringList>

// Stands in for the desktop opener: records every target instead of launching
// a browser or a file manager.
class RecordingOpener : public Platform::DesktopOpener
{
public:
    void open(const QString &target) override { opened.append(target); }

    QStringList opened;
};

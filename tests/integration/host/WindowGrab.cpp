// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// window_grab <X window id> <output.png>: saves what the window shows (used by scripts/screenshot.sh).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    bool isNumber = false;
    const WId window = argc == 3 ? QString(argv[1]).toULongLong(&isNumber, 0) : 0;
    if (!isNumber) {
        std::fprintf(stderr, "usage: %s <X window id> <output.png>\n", argv[0]);
        return 2;
    }
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot grab window %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}

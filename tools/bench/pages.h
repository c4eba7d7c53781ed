#pragma once

#include <QByteArray>

// Pages to measure on: the bundled sample page, and a 1 MiB page built from it whose long
// script and comment make the whole MiB pass through the splitter (a page's runs past the
// last cell are never read, so mere repetition would measure only its start).
QByteArray samplePageBytes();
QByteArray mebibytePage(const QByteArray& sample);
QByteArray asUtf8(const QByteArray& cp1251);

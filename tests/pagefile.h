#pragma once

#include <QByteArray>
#include <QFile>

// The bundled sample rate page (windows-1251), located through the test's environment.
inline QByteArray samplePage() {
    QFile file(qEnvironmentVariable("KURSOVE_SAMPLE_PAGE"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample page not found: set KURSOVE_SAMPLE_PAGE");
    return file.readAll();
}

#include "pages.h"

#include <QFile>
#include <QStringDecoder>

QByteArray samplePageBytes() {
    QFile file(QStringLiteral(SAMPLE_PAGE));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the sample page");
    return file.readAll();
}

QByteArray mebibytePage(const QByteArray& sample) {
    constexpr qsizetype Target = qsizetype{1} << 20;
    const qsizetype room = Target - sample.size();
    // Half of the filler is script text (outside tags), half comment text (inside one).
    QByteArray script = "<script>";
    const QByteArray line = "var rates = rates.concat([1.95583, 1.67142, 2.23596]); \r\n";
    while (script.size() < room / 2)
        script += line;
    script += "</script>";
    QByteArray comment = "<!--";
    while (script.size() + comment.size() < room - 3)
        comment += ' ';
    comment += "-->";
    const qsizetype head = sample.indexOf("</head>");
    return sample.left(head) + script + comment + sample.mid(head);
}

QByteArray asUtf8(const QByteArray& cp1251) {
    QStringDecoder decoder("windows-1251");
    return QString(decoder.decode(cp1251)).toUtf8();
}

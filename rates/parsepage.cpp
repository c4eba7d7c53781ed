#include "rates/parsepage.h"

namespace rates {

namespace {

// Finds the next "<" or ">" from `from` (or the end): the text between is appended in bulk.
qsizetype nextMark(QStringView text, qsizetype from) {
    const char16_t* data = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = from; i < size; ++i) {
        const char16_t c = data[i];
        if (c == u'<' || c == u'>')
            return i;
    }
    return size;
}

} // namespace

void parsepage(QStringView pagetext, Cells& cells) {
    for (QString& cell : cells)
        cell.clear();

    std::size_t index = 0;
    bool outsideTag = true;
    qsizetype pos = 0;
    const qsizetype size = pagetext.size();
    while (pos < size && index < cells.size()) {
        if (!outsideTag) {
            const qsizetype close = pagetext.indexOf(u'>', pos);
            if (close < 0)
                break;
            outsideTag = true;
            if (!cells[index].isEmpty())
                ++index;
            pos = close + 1;
            continue;
        }
        const qsizetype mark = nextMark(pagetext, pos);
        cells[index].append(pagetext.sliced(pos, mark - pos));
        if (mark == size)
            break;
        if (pagetext[mark] == u'<') {
            outsideTag = false;
        } else if (!cells[index].isEmpty()) {
            ++index;
        }
        pos = mark + 1;
    }
}

} // namespace rates

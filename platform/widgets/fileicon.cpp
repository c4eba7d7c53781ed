#include "platform/widgets/fileicon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

class FileIconEngine final : public QIconEngine {
public:
    explicit FileIconEngine(const QList<IconFile>& files)
        : files_(files), read_(static_cast<std::size_t>(files.size())) {
        std::sort(files_.begin(), files_.end(), [](const IconFile& a, const IconFile& b) {
            return a.size.width() < b.size.width();
        });
    }

    [[nodiscard]] QIconEngine* clone() const override { return new FileIconEngine(*this); }
    [[nodiscard]] QString key() const override { return QStringLiteral("kursove-files"); }
    bool isNull() override { return files_.isEmpty(); }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QList<QSize> sizes;
        for (const IconFile& file : files_)
            sizes << file.size;
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        if (files_.isEmpty())
            return {};
        return files_.at(bestFor(size)).size.boundedTo(size);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) override {
        if (files_.isEmpty())
            return {};
        const qsizetype best = bestFor(size);
        QPixmap& picture = read_[static_cast<std::size_t>(best)];
        if (picture.isNull())
            picture = QPixmap(files_.at(best).path);
        QPixmap shown = picture;
        if (!size.isEmpty() && (shown.width() > size.width() || shown.height() > size.height()))
            shown = shown.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
        }
        return shown;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio =
            painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

private:
    // The smallest picture at least as large as asked, or the largest there is.
    [[nodiscard]] qsizetype bestFor(const QSize& size) const {
        for (qsizetype i = 0; i < files_.size(); ++i) {
            if (files_.at(i).size.width() >= size.width() &&
                files_.at(i).size.height() >= size.height())
                return i;
        }
        return files_.size() - 1;
    }

    QList<IconFile> files_;
    std::vector<QPixmap> read_;
};

} // namespace

QIcon iconFromFiles(const QList<IconFile>& files) {
    return QIcon(new FileIconEngine(files));
}

} // namespace platform

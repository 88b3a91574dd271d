#include "FileTypeInfo.h"

#include "FileNameCodec.h"

#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>

#include <cerrno>
#include <sys/stat.h>

namespace lorvane {

namespace {

QImage themeIcon(const QMimeType &mime, int size)
{
    for (const QString &name : {mime.iconName(), mime.genericIconName()}) {
        if (name.isEmpty() || !QIcon::hasThemeIcon(name))
            continue;
        const QImage image = QIcon::fromTheme(name).pixmap(size, size).toImage();
        if (!image.isNull())
            return image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return QImage();
}

} // namespace

QImage builtInIcon(bool folder, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    if (folder) {
        QPainterPath tab;
        tab.addRoundedRect(QRectF(s * 0.06, s * 0.16, s * 0.40, s * 0.20), s * 0.04, s * 0.04);
        p.fillPath(tab, QColor(0xd9, 0xa4, 0x2b));
        const QRectF body(s * 0.06, s * 0.26, s * 0.88, s * 0.60);
        p.setPen(QPen(QColor(0x9c, 0x6f, 0x0e), qMax(1.0, s / 32)));
        p.setBrush(QColor(0xf2, 0xc2, 0x4b));
        p.drawRoundedRect(body, s * 0.05, s * 0.05);
        return image;
    }
    const qreal fold = s * 0.25;
    const QRectF page(s * 0.18, s * 0.06, s * 0.64, s * 0.88);
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), qMax(1.0, s / 32)));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawPath(corner);
    return image;
}

FileTypeInfo fileTypeInfo(const QString &path)
{
    struct stat st = {};
    if (::stat(encodeFileName(path).constData(), &st) != 0)
        return {ServiceResult::fromErrno(errno, path), {}, {}, {}};
    const bool folder = S_ISDIR(st.st_mode);

    static const QMimeDatabase db;
    QMimeType mime;
    if (folder)
        mime = db.mimeTypeForName(QStringLiteral("inode/directory"));
    else if (hasEscapedBytes(path))
        mime = db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    else
        mime = db.mimeTypeForFile(path);

    FileTypeInfo info;
    for (auto [image, size] : {std::pair{&info.largeIcon, 32}, std::pair{&info.smallIcon, 16}}) {
        *image = themeIcon(mime, size);
        if (image->isNull())
            *image = builtInIcon(folder, size);
    }
    info.typeName = mime.comment();
    if (info.typeName.isEmpty())
        info.typeName = mime.name();
    return info;
}

} // namespace lorvane

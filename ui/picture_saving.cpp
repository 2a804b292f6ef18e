#include "picture_saving.h"

#include "error_box.h"
#include "output/output_file.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

namespace tarnel {

namespace {

const QString pngFilter = QStringLiteral("PNG image (*.png)");
const QString svgFilter = QStringLiteral("SVG drawing (*.svg)");

bool isSvg(const QString& path)
{
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

// The picture as the file's bytes: SVG draws it again through the same
// paint code, so it stays sharp at any size.
QByteArray pictureBytes(QWidget& picture, bool svg)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(picture.size());
        generator.setViewBox(QRect(QPoint(0, 0), picture.size()));
        generator.setTitle(picture.accessibleName().isEmpty() ? QCoreApplication::applicationName()
                                                              : picture.accessibleName());
        QPainter painter(&generator);
        picture.render(&painter);
    } else {
        picture.grab().toImage().save(&buffer, "PNG");
    }
    return buffer.data();
}

} // namespace

QString savePicture(QWidget& picture, const QString& path)
{
    const QByteArray bytes = pictureBytes(picture, isSvg(path));
    OutputFile out(QFile::encodeName(path).toStdString());
    if (out.problem().empty()) {
        out.stream().write(bytes.constData(), bytes.size());
        if (out.commit())
            return {};
    }
    return path + QStringLiteral(": ") + QString::fromStdString(out.problem());
}

void addSavePictureAction(QWidget& picture)
{
    auto* action = new QAction(QObject::tr("Save picture…"), &picture);
    picture.setContextMenuPolicy(Qt::ActionsContextMenu);
    picture.addAction(action);
    QObject::connect(action, &QAction::triggered, &picture, [&picture, action] {
        reportingFailures(&picture, [&] {
            QString filter;
            QString path = QFileDialog::getSaveFileName(&picture, QObject::tr("Save picture"),
                                                        action->data().toString(), pngFilter + ";;" + svgFilter,
                                                        &filter);
            if (path.isEmpty())
                return;
            if (!isSvg(path) && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
                path += filter == svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
            // The next dialog opens where this one saved.
            action->setData(QFileInfo(path).absolutePath());
            if (const QString error = savePicture(picture, path); !error.isEmpty())
                QMessageBox::critical(&picture, QCoreApplication::applicationName(), error);
        });
    });
}

} // namespace tarnel

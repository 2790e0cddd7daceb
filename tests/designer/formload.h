#pragma once

// Forms as the tests load them: through QUiLoader with the Designer plugin's folder, and the
// form of every palette control as its file holds it.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QUiLoader>
#include <QWidget>

#include <memory>

inline std::unique_ptr<QWidget> LoadForm(const QString &ui)
{
    QUiLoader loader;
    loader.addPluginPath(QStringLiteral(TABRIX_DESIGNER_PLUGIN_DIR));
    QByteArray bytes = ui.toUtf8();
    QBuffer buffer(&bytes);
    std::unique_ptr<QWidget> form(loader.load(&buffer));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

inline QString EveryControlForm()
{
    QFile file(QStringLiteral(TOVEL_EVERY_CONTROL_FORM));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

// Small helpers the tests of every program share.
#pragma once
#include "../core/folder.h"
#include "../core/textfile.h"
#include "../platform/dialogs.h"
#include "../platform/services.h"

#include <QStringList>
#include <QTemporaryDir>
#include <string>

namespace dz::testing {

// A fresh program folder for one test, with the dialog seams cleared.
struct ProgramFolderFixture {
    QTemporaryDir dir;
    ProgramFolderFixture() {
        setProgramFolder(dir.path());
        ui::seam::reset();
        ui::seam::resetServices();
    }
    ~ProgramFolderFixture() { setProgramFolder(QString()); }
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    void write(const QString& name, const std::string& bytes) const { writeBytes(path(name), bytes); }
    std::string read(const QString& name) const { return readFileBytes(path(name)).value_or(std::string("<missing>")); }
};

// The texts of the message boxes shown since the seam was last reset, in order.
inline QStringList shownTexts() {
    QStringList t;
    for (const auto& m : ui::seam::messages()) t << m.text;
    return t;
}

}  // namespace dz::testing

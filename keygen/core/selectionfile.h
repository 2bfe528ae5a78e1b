// keygen's selection file ("jeloles1.txt"): the marker line and one line of chosen numbers.
#pragma once
#include "common/core/selection.h"  // dz::NumberSelection

#include <QString>
#include <QStringList>
#include <cstdint>

namespace dz::keygen {

inline constexpr const char* kSelectionFile = "jeloles1.txt";

// "kulcs1", then every chosen number as "00" and a blank (an empty line for no number).
QStringList selectionLines(const dz::NumberSelection& chosen);
bool writeSelection(const QString& path, const dz::NumberSelection& chosen);

enum class SelectionStatus { Unopenable, WrongMarker, Loaded };
struct SelectionLoad {
    SelectionStatus status = SelectionStatus::Unopenable;
    uint32_t mask = 0;  // bit n for every number 1..20 that a line after the marker holds
};
SelectionLoad readSelection(const QString& path);

QString wrongSelectionMessage();  // "Ez nem kijelölés mentés file !"

}  // namespace dz::keygen

#pragma once

#include <QMimeData>
#include <QString>
#include <optional>

namespace blok {

// A row of Lista bloków dragged out: the block's name in a type of our own, so that only
// Podglad takes it, and as text for any field it is let go over.
inline constexpr char kBlockMimeType[] = "application/x-blokedit-block";

inline QMimeData* BlockDragData(const QString& name) {
  auto* data = new QMimeData;
  data->setData(kBlockMimeType, name.toUtf8());
  data->setText(name);
  return data;
}

// The name of the dragged block, when a block is what is dragged.
inline std::optional<QString> DraggedBlock(const QMimeData* data) {
  if (data == nullptr || !data->hasFormat(kBlockMimeType)) return std::nullopt;
  return QString::fromUtf8(data->data(kBlockMimeType));
}

}  // namespace blok

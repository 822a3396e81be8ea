#pragma once
// The preview object: one picture slot through which the composition with the note box is written.

#include <QImage>

namespace quenda {

class TPicPreviewFrm {
public:
    QImage imgPreview;
};

} // namespace quenda

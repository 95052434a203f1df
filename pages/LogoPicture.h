// Pictures made into the launcher's logo: read with Qt's image readers or the PCX reader, fitted into
// the logo's box, reduced and written as a version 2 PCX file; and the name the logo is made under.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

namespace vl
{

// A picture read to make a logo of.
struct LogoPicture {
    QString kind; // "PNG", "SVG", "PCX version 5"
    QSize size;   // as drawn by whoever made it
    QImage logo;  // fitted into 120 by 120 with its proportions kept, never enlarged, on white, RGB888
};

// Reads the bytes of a file as a picture; none when neither Qt nor the PCX reader can make a
// picture of them. Transparent parts are laid on white, the colour the logo's box is drawn on.
std::optional<LogoPicture> ReadLogoPicture(const std::string& bytes);

// The bytes of the version 2 PCX file of a fitted picture.
std::string LogoFileBytes(const QImage& logo);

// The name under which a logo made from the picture goes into folder (ending in "/"): the picture's
// name in DOS form, or the name of the file already there that DOS would take for it (letter case
// aside); when that file is the picture itself, the first numbered name that nothing holds.
QString LogoFileName(const QString& folder, const QString& picturePath);

// Whether folder holds anything under name, letter case aside.
bool FolderHolds(const QString& folder, const QString& name);

} // namespace vl

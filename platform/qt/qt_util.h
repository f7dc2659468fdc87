// Conversions at the edge between the plain models (UTF-8 strings, colours as
// 0x00BBGGRR, captions with '&' mnemonics) and Qt types.
#pragma once

#include <QColor>
#include <QString>

#include <string>

#include "dv/grid.h"

namespace dv::qt {

inline QString toQ(const std::string& s) { return QString::fromStdString(s); }
inline std::string fromQ(const QString& s) { return s.toStdString(); }

// 0x00BBGGRR -> QColor; kDefaultColor gives an invalid colour ("use the default").
inline QColor toQColor(ColorRef c) {
  if (c == kDefaultColor) return QColor();
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Multi-line texts of the models use "\r\n" line ends; Qt text widgets use "\n".
inline QString toQText(const std::string& s) {
  QString q = toQ(s);
  q.remove(QLatin1Char('\r'));
  return q;
}

// The name a control's widget carries, so tests and style sheets find it.
inline QString controlName(int id) { return QStringLiteral("ctl%1").arg(id); }

// "&Open" -> "Open", "&&" -> "&": for widgets that do not underline mnemonics.
inline QString plainText(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) out += QLatin1Char('&');
      else if (i + 1 < caption.size()) out += caption[i + 1];
      ++i;
    } else {
      out += caption[i];
    }
  }
  return out;
}

}  // namespace dv::qt

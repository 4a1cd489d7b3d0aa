#pragma once
// Keeps a memo editor's text storable: a control character or a character
// the recorder's code page lacks is refused, and text beyond 16 bytes is cut
// at a whole character (typing stops there, a paste keeps its start).

#include <QValidator>

namespace tessaro {

class TMemoValidator : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override;
};

}  // namespace tessaro

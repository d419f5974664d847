#pragma once

#include "db/Messages.h"

class QWidget;

namespace vyk {

// Message boxes with French buttons; "QUESTION" has No as its default button, "QUESTION_ANNULER"
// Yes (Escape cancels).
class MessagesGui : public SortieMessages
{
  public:
    int afficher(const QString &genre, const QString &texte) override;
};

} // namespace vyk

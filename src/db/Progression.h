#pragma once

#include <QString>

namespace vyk {

// Progress of long work: a dialog with a cancel button in the GUI, a bar in vyk-cli, nothing
// in tests. Work tests annule() between items (stations, lines, files).
class Progression
{
  public:
    virtual ~Progression() = default;
    virtual void message(const QString &) {}
    virtual void position(long long /*valeur*/, long long /*maximum*/) {}
    virtual bool annule() const { return false; }
};

// A progression that shows nothing and is never cancelled.
Progression &progressionNulle();

} // namespace vyk

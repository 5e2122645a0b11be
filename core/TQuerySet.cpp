#include "core/TQuerySet.h"

TQuerySet::TQuerySet() {
    declaredDisplayWidth_ = 75;
}
TQuerySet::~TQuerySet() = default;

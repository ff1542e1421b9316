#include "share/CardFigures.h"

#include "notch/NotchModel.h"

CardFigures CardFigures::of(const NotchModel &model, const QDateTime &now)
{
    return {now, model.sales(), model.accounts(), model.today()};
}

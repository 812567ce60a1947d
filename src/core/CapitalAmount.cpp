#include "core/CapitalAmount.h"

#include "core/SqlText.h"

#include <cmath>

namespace {

constexpr int MaxPositions = 14;

}  // namespace

QString CapitalAmount(double amount)
{
    if (amount == 0.0)
        return QString();
    if (!std::isfinite(amount))
        return GeneralNumberText(amount);

    const double fen = std::round(std::fabs(amount) * 100.0);  // half away from zero
    if (fen >= std::pow(10.0, MaxPositions))
        return GeneralNumberText(amount);
    const QString s = QString::number(qint64(fen));

    static const QString digitWords = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QString unitWords = QStringLiteral("分角元拾佰仟万拾佰仟亿拾佰仟");

    // Every position gets its digit and its unit, zeros included; the passes
    // below fold the zeros away.
    QString text;
    for (int i = 0; i < s.size(); ++i) {
        const int digit = s.at(s.size() - 1 - i).digitValue();
        text.prepend(unitWords.at(i));
        text.prepend(digitWords.at(digit < 0 ? 0 : digit));
    }
    static const std::pair<const char16_t*, const char16_t*> passes[] = {
        {u"零拾", u"零"}, {u"零佰", u"零"}, {u"零仟", u"零"}, {u"零零", u"零"}, {u"零零", u"零"},
        {u"零万", u"万"}, {u"零亿", u"亿"}, {u"零元", u"元"}, {u"亿万", u"亿"}, {u"零角零分", u"整"},
    };
    for (const auto& [from, to] : passes)
        text.replace(QString::fromUtf16(from), QString::fromUtf16(to));

    // A sum that rounds to no fen has no sign to show.
    if (amount < 0 && fen > 0)
        text.prepend(QStringLiteral("负"));
    return text;
}

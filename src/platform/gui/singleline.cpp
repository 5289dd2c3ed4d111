#include "platform/gui/singleline.h"

#include "platform/textutil.h"

#include <QLineEdit>
#include <QValidator>

namespace rr
{
namespace
{

// A line edit lets its validator change the text in place; every change, the
// program's own setText included, passes here.
class SingleLineValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        const QString single = singleLineText(input);
        if (single.size() != input.size())
            pos = int(singleLineText(input.left(pos)).size());
        input = single;
        return Acceptable;
    }
};

} // namespace

void keepSingleLine(QLineEdit *box)
{
    box->setValidator(new SingleLineValidator(box));
}

} // namespace rr

// SPDX-License-Identifier: GPL-3.0-or-later
// velmora_pseudo_catalogue IN.ts OUT.ts: writes a catalogue that translates every text of IN.ts
// (as lupdate extracted it from the sources) into the pseudo-language the layout checks use:
// every letter accented, the text 40 % longer and wrapped in brackets, its place markers ("%1",
// "%n", "%L2") kept. A text on screen without the brackets was never translated; one cut off
// would be cut off in a longer language too.
#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cstdio>

namespace {

// The accented counterpart of each ASCII letter, "A" to "Z" then "a" to "z".
const QString accented = QStringLiteral("ÅƁĊĐÊƑĜĤÎĴĶĹṀÑÖÞǪŔŠŢÛṼŴẊÝŽ"
                                        "åƀċđêƒĝĥîĵķĺɱñöþǫŕšţûṽŵẋýž");
// What lengthens a text by 40 %: words of letters of a common width, so that a long text still
// wraps where a real language would.
const QString padding = QStringLiteral("àéîõü ");

QChar accent(QChar c) {
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
        return accented.at(c.unicode() - 'A');
    }
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
        return accented.at(26 + c.unicode() - 'a');
    }
    return c;
}

// The length of a place marker at `at` ("%1", "%n", "%L1"), 0 when there is none.
int markerLength(const QString& text, qsizetype at) {
    if (text.at(at) != QLatin1Char('%') || at + 1 >= text.size()) {
        return 0;
    }
    const QChar next = text.at(at + 1);
    if (next.isDigit() || next == QLatin1Char('n')) {
        return 2;
    }
    if (next == QLatin1Char('L') && at + 2 < text.size() &&
        (text.at(at + 2).isDigit() || text.at(at + 2) == QLatin1Char('n'))) {
        return 3;
    }
    return 0;
}

QString pseudo(const QString& source) {
    QString text = QStringLiteral("[");
    for (qsizetype at = 0; at < source.size(); ++at) {
        if (const int length = markerLength(source, at)) {
            text += source.mid(at, length);
            at += length - 1;
            continue;
        }
        text += accent(source.at(at));
    }
    const int extra = (static_cast<int>(source.size()) * 4 + 9) / 10;
    for (int index = 0; index < extra; ++index) {
        text += padding.at(index % padding.size());
    }
    if (text.endsWith(QLatin1Char(' '))) {
        text.back() = padding.front();
    }
    return text + QStringLiteral("]");
}

// Copies the catalogue, filling in every message's translation.
bool translate(QXmlStreamReader& in, QXmlStreamWriter& out) {
    QString source;
    bool numerus = false;
    while (!in.atEnd()) {
        in.readNext();
        if (in.isStartElement() && in.name() == QLatin1String("TS")) {
            out.writeStartElement(QStringLiteral("TS"));
            out.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
            out.writeAttribute(QStringLiteral("language"), QStringLiteral("en"));
        } else if (in.isStartElement() && in.name() == QLatin1String("message")) {
            numerus = in.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            out.writeStartElement(QStringLiteral("message"));
            if (numerus) {
                out.writeAttribute(QStringLiteral("numerus"), QStringLiteral("yes"));
            }
        } else if (in.isStartElement() && in.name() == QLatin1String("source")) {
            source = in.readElementText();
            out.writeTextElement(QStringLiteral("source"), source);
        } else if (in.isStartElement() && in.name() == QLatin1String("comment")) {
            out.writeTextElement(QStringLiteral("comment"), in.readElementText());
        } else if (in.isStartElement() && in.name() == QLatin1String("translation")) {
            in.skipCurrentElement();
            out.writeStartElement(QStringLiteral("translation"));
            if (numerus) {
                // English has two forms; both read the same here.
                out.writeTextElement(QStringLiteral("numerusform"), pseudo(source));
                out.writeTextElement(QStringLiteral("numerusform"), pseudo(source));
            } else {
                out.writeCharacters(pseudo(source));
            }
            out.writeEndElement();
        } else if (in.isStartElement() && in.name() == QLatin1String("context")) {
            out.writeStartElement(QStringLiteral("context"));
        } else if (in.isStartElement() && in.name() == QLatin1String("name")) {
            out.writeTextElement(QStringLiteral("name"), in.readElementText());
        } else if (in.isStartElement()) {
            in.skipCurrentElement(); // locations and translators' comments
        } else if (in.isEndElement()) {
            out.writeEndElement();
        }
    }
    return !in.hasError();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmora_pseudo_catalogue IN.ts OUT.ts\n");
        return 2;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!input.open(QIODevice::ReadOnly) || !output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "velmora_pseudo_catalogue: cannot open %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    QXmlStreamReader in(&input);
    QXmlStreamWriter out(&output);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeDTD(QStringLiteral("<!DOCTYPE TS>"));
    if (!translate(in, out)) {
        std::fprintf(stderr, "velmora_pseudo_catalogue: %s: %s\n", argv[1],
                     qPrintable(in.errorString()));
        return 1;
    }
    out.writeEndDocument();
    return 0;
}

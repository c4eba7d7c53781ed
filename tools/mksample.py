#!/usr/bin/env python3
"""Writes resources/rates-sample.html: an invented rate page in the old style, windows-1251.

With --long it writes resources/rates-long.html instead: the same page with long names and
figures of many digits, to see that the window shows every value whole in any font.

The program reads the page by the positions of its text runs, so this script checks them
after writing: run 18 is the date, runs 39 to 206 are 28 rows of six, the US dollar 26th.
The rates are made up for the sample; they are no bank's figures.
"""
from decimal import Decimal, ROUND_HALF_EVEN
import sys
from pathlib import Path

DATE = "05.12.2026"
# name, code, units, leva for the units
CURRENCIES = [
    ("Австралийски долар", "AUD", 1, "1.10342"),
    ("Канадски долар", "CAD", 1, "1.20117"),
    ("Швейцарски франк", "CHF", 1, "2.08461"),
    ("Китайски юан ренминби", "CNY", 10, "2.31870"),
    ("Чешка крона", "CZK", 100, "8.04215"),
    ("Датска крона", "DKK", 10, "2.62144"),
    ("Британска лира", "GBP", 1, "2.23596"),
    ("Хонконгски долар", "HKD", 10, "2.15398"),
    ("Унгарски форинт", "HUF", 1000, "5.09871"),
    ("Индонезийска рупия", "IDR", 100000, "10.05612"),
    ("Израелски шекел", "ILS", 1, "0.51420"),
    ("Индийска рупия", "INR", 100, "1.86035"),
    ("Японска йена", "JPY", 100, "1.07954"),
    ("Южнокорейски вон", "KRW", 1000, "1.14308"),
    ("Мексиканско песо", "MXN", 10, "0.91764"),
    ("Малайзийски рингит", "MYR", 10, "4.05927"),
    ("Норвежка крона", "NOK", 10, "1.52688"),
    ("Новозеландски долар", "NZD", 1, "0.96211"),
    ("Филипинско песо", "PHP", 100, "2.87419"),
    ("Полска злота", "PLN", 10, "4.61130"),
    ("Румънска лея", "RON", 10, "3.92983"),
    ("Шведска крона", "SEK", 10, "1.77345"),
    ("Сингапурски долар", "SGD", 1, "1.29076"),
    ("Тайландски бат", "THB", 100, "5.18822"),
    ("Турска лира", "TRY", 10, "0.39917"),
    ("Щатски долар", "USD", 1, "1.67142"),
    ("Южноафрикански ранд", "ZAR", 10, "0.94580"),
    ("Злато (1 тройунция)", "XAU", 1, "7036.38"),
]
CRLF = "\r\n"


def q(value, places):
    return str(Decimal(value).quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_EVEN))


def sig(value, digits=6):
    """Six significant digits, as the narrow columns of the page show them."""
    places = max(0, digits - len(str(int(value))) if value >= 1 else digits)
    return q(value, places)


def row(name, code, units, leva):
    per_lev = Decimal(units) / Decimal(leva)
    inverse = Decimal(leva) / Decimal(units)
    tds = [name, code, str(units), leva, sig(per_lev), q(inverse, 6)]
    aligns = ["left", "center", "right", "right", "right", "right"]
    return "".join(f'<td align="{a}">{t}</td>' for a, t in zip(aligns, tds))


def page():
    head = [
        '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">',
        "<html>",
        "<head>",
        '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">',
        "<title>ЗВТ - Валутни курсове</title>",
        '<script type="text/javascript">',
        "function printPage() { window.print(); return false; }",
        "</script>",
        "<!-- view vWebRatesByMonthBG, generated for the sample server -->",
        "</head>",
        '<body bgcolor="#FFFFFF" text="#000000">',
        "<h2>Централна банка ЗВТ</h2>",
        '<a href="/zvt/home.nsf">Начало</a> | <a href="/zvt/rates.nsf/vWebRatesByMonthBG/$First">Курсове</a>',
        "<p>Курсове, валидни за дата: <b>" + DATE + "</b></p>",
        "<p>Месец: <b>декември 2026</b></p>",
        "<p>Курсове на ЗВТ, които се прилагат за счетоводни и статистически цели.</p>",
        "<ul><li>Курсовете се обявяват всеки работен ден.</li><li>Златото е за една тройунция.</li></ul>",
        "<hr>",
        "<br>",
        "<h3>Курсове на българския лев към отделни чуждестранни валути и цена на златото</h3>",
        '<table border="1" cellspacing="0" cellpadding="2" width="100%">',
        '<tr bgcolor="#C0C0C0"><th>Валута</th><th>Код</th><th>За единици валута</th>'
        "<th>Лева (BGN)</th><th>За 1 лев</th><th>Обратен курс</th></tr",
    ]
    # Rows follow each other with the line break inside the closing tag, so no blank run
    # falls between two rows.
    rows = "".join(f"\r\n><tr>{row(*c)}</tr" for c in CURRENCIES) + ">"
    tail = [
        "",
        "</table>",
        "<p><i>Курсовете са информативни.</i> Източник: ЗВТ.</p>",
        '<p><a href="#" onclick="return printPage()">Печат</a></p>',
        "<!-- end of view -->",
        "</body>",
        "</html>",
        "",
    ]
    return CRLF.join(head) + rows + CRLF.join(tail)


def runs(text):
    """The program's split of a page into text runs (kept here only to check the positions)."""
    cells, current, outside = [], "", True
    for ch in text:
        if ch == "<":
            outside = False
        elif ch == ">":
            outside = True
            if current:
                cells.append(current)
                current = ""
        elif outside:
            current += ch
    if current:
        cells.append(current)
    return cells


def lengthen(currencies):
    """Long names and figures with many digits, still read at the same positions."""
    factor = Decimal("1234.56789012")
    longer = []
    for i, (name, code, units, leva) in enumerate(currencies):
        if i % 4 == 0:
            name += " (по курса от предходния работен ден)"
        longer.append((name, code, units * 1000, q(Decimal(leva) * factor, 10)))
    return longer


def main():
    global CURRENCIES
    long_page = "--long" in sys.argv[1:]
    if long_page:
        CURRENCIES = lengthen(CURRENCIES)
    text = page()
    cells = runs(text)
    assert cells[18] == DATE, (cells[15:20])
    for r, (name, code, units, leva) in enumerate(CURRENCIES, start=1):
        first = 38 + 6 * (r - 1) + 1
        assert cells[first] == name and cells[first + 1] == code, (r, cells[first:first + 6])
        assert cells[first + 3] == leva
    assert cells[38 + 6 * 25 + 1 + 1] == "USD"
    assert len(CURRENCIES) == 28
    name = "rates-long.html" if long_page else "rates-sample.html"
    out = Path(__file__).resolve().parent.parent / "resources" / name
    out.write_bytes(text.encode("cp1251"))
    print(f"{out}: {len(text)} characters, {len(cells)} runs")


if __name__ == "__main__":
    main()

#include "server/board_page.h"

#include <cstdio>

#include "platform/grid.h"
#include "records/run_time.h"

namespace {

const int boards_shown = 60;
const int rows_shown = 10;
const int cell = 18;  // pixels of a tile on the page

// The game's colours: the wood of walls and floor, the cream panels, steel, the red flag.
const char *const style = R"css(
:root { --wood: #8c5834; --wood-dark: #5c341c; --floor: #daae74; --cream: #f6ead2; --ink: #3a2210;
        --ink-soft: #806040; --line: #c8a878; --red: #d61e1e; --green: #2f8c46; }
* { box-sizing: border-box; }
body { margin: 0; font-family: "DejaVu Sans", Verdana, sans-serif; color: var(--ink);
       background: var(--wood-dark) repeating-linear-gradient(90deg, rgba(255,255,255,.03) 0 3px,
       rgba(0,0,0,.04) 3px 7px, rgba(255,255,255,0) 7px 13px); }
header { background: linear-gradient(#a06a40, var(--wood)); border-bottom: 4px solid var(--ink);
         padding: 18px 32px 14px; color: var(--cream); text-shadow: 0 2px 0 var(--ink); }
header h1 { margin: 0; font-size: 30px; letter-spacing: .04em; }
header p { margin: 6px 0 0; font-size: 14px; color: #f0dcb8; text-shadow: none; max-width: 62em; }
header code { background: rgba(0,0,0,.25); padding: 1px 5px; border-radius: 3px; }
main { display: flex; flex-wrap: wrap; gap: 22px; padding: 24px 32px 40px; }
.board { background: var(--cream); border: 3px solid var(--ink); border-radius: 6px;
         box-shadow: 0 6px 0 rgba(0,0,0,.35); padding: 14px 16px 12px; display: flex; gap: 16px;
         width: 750px; }
.board svg { border: 3px solid var(--ink); border-radius: 3px; display: block; flex: none; }
.side { min-width: 0; flex: 1; }
.side h2 { margin: 0 0 2px; font-size: 20px; }
.keys { font-size: 12px; color: var(--ink-soft); margin-bottom: 8px; }
.keys a { color: var(--ink-soft); }
table { border-collapse: collapse; width: 100%; font-size: 13px; }
th { text-align: left; font-weight: normal; color: var(--ink-soft); font-size: 12px;
     border-bottom: 2px solid var(--line); padding: 3px 6px; }
td { padding: 4px 5px; border-bottom: 1px solid #e6d2b0; white-space: nowrap; }
tbody tr:nth-child(even) { background: rgba(200,168,120,.16); }
td.time, th.time { text-align: right; font-variant-numeric: tabular-nums; font-weight: bold; }
td.num, th.num { text-align: right; }
td.place { width: 2.2em; }
td.name { max-width: 9em; overflow: hidden; text-overflow: ellipsis; }
.medal { display: inline-block; width: 22px; height: 22px; border-radius: 50%; text-align: center;
         line-height: 20px; font-size: 12px; font-weight: bold; border: 1px solid var(--ink); }
.p1 { background: radial-gradient(circle at 35% 30%, #fff4c0, #e0b030 60%, #9a7010); }
.p2 { background: radial-gradient(circle at 35% 30%, #ffffff, #c0c6d0 60%, #707884); }
.p3 { background: radial-gradient(circle at 35% 30%, #ffe0c0, #c07a40 60%, #7a4418); }
.proof { color: var(--green); font-weight: bold; }
a.run { color: var(--wood); }
.empty { color: var(--cream); font-size: 18px; padding: 40px; }
)css";

// Each tile kind drawn once, used by every board.
const char *const tiles = R"svg(<svg width="0" height="0" style="position:absolute" aria-hidden="true"><defs>
<linearGradient id="g-floor" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="#dcb278"/><stop offset="1" stop-color="#c89858"/></linearGradient>
<radialGradient id="g-steel" cx=".35" cy=".3" r=".8"><stop offset="0" stop-color="#f4f6fa"/><stop offset=".6" stop-color="#a4acbc"/><stop offset="1" stop-color="#4c5466"/></radialGradient>
<radialGradient id="g-bowl" cx=".5" cy=".55" r=".6"><stop offset="0" stop-color="#e4f3ff"/><stop offset=".6" stop-color="#8ec4ff"/><stop offset="1" stop-color="#2454c8"/></radialGradient>
<radialGradient id="g-dome" cx=".38" cy=".32" r=".7"><stop offset="0" stop-color="#ffd2a0"/><stop offset=".55" stop-color="#d8742c"/><stop offset="1" stop-color="#7c3810"/></radialGradient>
<linearGradient id="g-slope" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#ffe8a8"/><stop offset="1" stop-color="#e6be78"/></linearGradient>
<symbol id="t-floor" viewBox="0 0 18 18"><rect width="18" height="18" fill="url(#g-floor)"/><path d="M0 6h18M0 13h18" stroke="#b88a50" stroke-width=".5" opacity=".5"/></symbol>
<symbol id="t-wall" viewBox="0 0 18 18"><rect width="18" height="18" fill="#8c5834"/><path d="M0 0h18v2H2v16H0z" fill="#b07848"/><path d="M18 18H0v-2h16V0h2z" fill="#5c341c"/></symbol>
<symbol id="t-cloth" viewBox="0 0 18 18"><rect width="18" height="18" fill="#2f8c46"/><path d="M0 4.5h18M0 9h18M0 13.5h18M4.5 0v18M9 0v18M13.5 0v18" stroke="#3ea85a" stroke-width=".8"/></symbol>
<symbol id="t-start" viewBox="0 0 18 18"><use href="#t-floor"/><circle cx="9" cy="9" r="6" fill="url(#g-steel)" stroke="#1a1c24" stroke-width=".8"/></symbol>
<symbol id="t-flag" viewBox="0 0 18 18"><use href="#t-floor"/><ellipse cx="6" cy="15.5" rx="2.4" ry="1" fill="#46403c"/><path d="M6 3v12.5" stroke="#46403c" stroke-width="1.2"/><path d="M6.6 3l8 2.6-8 2.6z" fill="#d61e1e"/></symbol>
<symbol id="t-hole" viewBox="0 0 18 18"><use href="#t-floor"/><circle cx="9" cy="9" r="6.6" fill="#ecd296" /><circle cx="9" cy="9" r="5.6" fill="#080604"/></symbol>
<symbol id="t-bowl" viewBox="0 0 18 18"><use href="#t-floor"/><circle cx="9" cy="9" r="7.4" fill="url(#g-bowl)" stroke="#24408c" stroke-width=".8"/></symbol>
<symbol id="t-dome" viewBox="0 0 18 18"><use href="#t-floor"/><circle cx="9" cy="9" r="7.4" fill="url(#g-dome)"/></symbol>
<symbol id="t-bumper" viewBox="0 0 18 18"><use href="#t-floor"/><circle cx="9" cy="9" r="5" fill="#dde2ea" stroke="#4c5466"/><circle cx="9" cy="9" r="2.8" fill="#d61e1e"/><circle cx="8.2" cy="8.2" r=".9" fill="#fff"/></symbol>
<symbol id="t-shutter" viewBox="0 0 18 18"><rect width="18" height="18" fill="#969ca5"/><path d="M0 3h18M0 7.5h18M0 12h18M0 16.5h18" stroke="#646a74" stroke-width="1.4"/></symbol>
<symbol id="t-slope" viewBox="0 0 18 18"><rect width="18" height="18" fill="url(#g-slope)"/><path d="M4 4l5 5-5 5M9 4l5 5-5 5" fill="none" stroke="#784626" stroke-width="1.8"/></symbol>
<symbol id="t-e" viewBox="0 0 18 18"><use href="#t-slope"/></symbol>
<symbol id="t-w" viewBox="0 0 18 18"><g transform="rotate(180 9 9)"><use href="#t-slope"/></g></symbol>
<symbol id="t-n" viewBox="0 0 18 18"><g transform="rotate(-90 9 9)"><use href="#t-slope"/></g></symbol>
<symbol id="t-s" viewBox="0 0 18 18"><g transform="rotate(90 9 9)"><use href="#t-slope"/></g></symbol>
<symbol id="t-tube-we" viewBox="0 0 18 18"><rect y="4" width="18" height="10" fill="#969ca5"/><rect y="5" width="18" height="3" fill="#d0d6de"/><path d="M0 4h18M0 14h18" stroke="#4c5466"/></symbol>
<symbol id="t-tube-ns" viewBox="0 0 18 18"><rect x="4" width="10" height="18" fill="#969ca5"/><rect x="5" width="3" height="18" fill="#d0d6de"/><path d="M4 0v18M14 0v18" stroke="#4c5466"/></symbol>
<symbol id="t-tube-n" viewBox="0 0 18 18"><rect x="4" width="10" height="9" fill="#969ca5"/><rect x="5" width="3" height="9" fill="#d0d6de"/><path d="M4 0v9M14 0v9" stroke="#4c5466"/></symbol>
<symbol id="t-tube-s" viewBox="0 0 18 18"><g transform="rotate(180 9 9)"><use href="#t-tube-n"/></g></symbol>
<symbol id="t-tube-e" viewBox="0 0 18 18"><g transform="rotate(90 9 9)"><use href="#t-tube-n"/></g></symbol>
<symbol id="t-tube-w" viewBox="0 0 18 18"><g transform="rotate(-90 9 9)"><use href="#t-tube-n"/></g></symbol>
</defs></svg>
)svg";

// The symbols a code is drawn with, bottom first.
std::string tile_uses(char code, int x, int y)
{
    const char *parts[3] = {"floor", nullptr, nullptr};
    switch (code) {
    case '*': parts[0] = "wall"; break;
    case '#': parts[0] = "cloth"; break;
    case 'A': parts[0] = "start"; break;
    case 'F': parts[0] = "flag"; break;
    case 'O': parts[0] = "hole"; break;
    case 'C': parts[0] = "bowl"; break;
    case 'V': parts[0] = "dome"; break;
    case 'B': parts[0] = "bumper"; break;
    case 'X': parts[0] = "shutter"; break;
    case 'e': parts[0] = "e"; break;
    case 'w': parts[0] = "w"; break;
    case 'n': parts[0] = "n"; break;
    case 's': parts[0] = "s"; break;
    case '-': parts[1] = "tube-we"; break;
    case 'I': parts[1] = "tube-ns"; break;
    case '+': parts[1] = "tube-we"; parts[2] = "tube-ns"; break;
    case 'E': parts[1] = "tube-ns"; parts[2] = "tube-e"; break;
    case 'W': parts[1] = "tube-ns"; parts[2] = "tube-w"; break;
    case 'N': parts[1] = "tube-we"; parts[2] = "tube-n"; break;
    case 'S': parts[1] = "tube-we"; parts[2] = "tube-s"; break;
    default: break;
    }
    std::string out;
    for (const char *p : parts)
        if (p)
            out += "<use href=\"#t-" + std::string(p) + "\" x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
                   "\" width=\"18\" height=\"18\"/>";
    return out;
}

std::string board_svg(const std::string &codes)
{
    const int side = grid::cells * cell;
    std::string out = "<svg width=\"" + std::to_string(side) + "\" height=\"" + std::to_string(side) +
                      "\" viewBox=\"0 0 " + std::to_string(side) + " " + std::to_string(side) +
                      "\" role=\"img\" aria-label=\"kentt&auml;\">";
    for (int k = 0; k < grid::level_chars && k < static_cast<int>(codes.size()); k++)
        out += tile_uses(codes[static_cast<size_t>(k)], k % grid::cells * cell, k / grid::cells * cell);
    return out + "</svg>";
}

// "2026-12-08" the Finnish way, as the game shows a date.
std::string finnish_date(const std::string &iso)
{
    return html_escaped(date_text(iso));
}

}  // namespace

std::string html_escaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string page_html(board_store &store)
{
    std::string out = "<!DOCTYPE html>\n<html lang=\"fi\"><head><meta charset=\"utf-8\">"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                      "<title>Vinkla &ndash; yhteiset enn&auml;tykset</title><style>";
    out += style;
    out += "</style></head><body>";
    out += tiles;
    out += "<header><h1>Vinkla &middot; yhteiset enn&auml;tykset</h1><p>Jokainen aika on todistettu: palvelin on "
           "ajanut jokaisen suorituksen uudelleen pelin omilla s&auml;&auml;nn&ouml;ill&auml; ennen kuin se "
           "p&auml;&auml;si tauluun. Lataa kentt&auml; ja suoritus ja tarkista itse: "
           "<code>vinkla-replay KENTT&Auml;.vkl SUORITUS.run</code></p></header><main>";
    const std::vector<board_info> boards = store.boards(boards_shown);
    if (boards.empty())
        out += "<p class=\"empty\">Yht&auml;&auml;n suoritusta ei ole viel&auml; l&auml;hetetty.</p>";
    for (const board_info &b : boards) {
        const std::string title = b.title.empty() ? "Kentt&auml; " + b.short_key : html_escaped(b.title);
        out += "<section class=\"board\" id=\"b-" + b.short_key + "\">" + board_svg(b.level) + "<div class=\"side\">";
        out += "<h2>" + title + "</h2><div class=\"keys\">" + b.short_key + " &middot; " + std::to_string(b.players) +
               (b.players == 1 ? " pelaaja" : " pelaajaa") + " &middot; <a href=\"/api/v1/boards/" + b.board +
               "/level\">lataa kentt&auml;</a></div>";
        out += "<table><thead><tr><th>Sija</th><th>Nimi</th><th class=\"time\">Aika</th>"
               "<th class=\"num\">Putoamiset</th><th>P&auml;iv&auml;</th><th></th></tr></thead><tbody>";
        for (const board_row &row : store.table(b.board, rows_shown)) {
            const std::string place = std::to_string(row.place);
            out += "<tr><td class=\"place\">" +
                   (row.place <= 3 ? "<span class=\"medal p" + place + "\">" + place + "</span>" : place + ".") +
                   "</td><td class=\"name\">" + html_escaped(row.name) + "</td><td class=\"time\">" +
                   time_text(static_cast<int>(row.time)) + "</td><td class=\"num\">" + std::to_string(row.falls) +
                   "</td><td>" + finnish_date(row.date) + "</td><td><span class=\"proof\">&#10003;</span> " +
                   "<a class=\"run\" href=\"/api/v1/runs/" + std::to_string(row.id) + "\">lataa</a></td></tr>";
        }
        out += "</tbody></table></div></section>";
    }
    out += "</main></body></html>\n";
    return out;
}

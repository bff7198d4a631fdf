#include "game/screens/PreferencesScreen.h"

#include "of/Audio.h"
#include "of/Controller.h"
#include "of/SimpleMenu.h"

#include <algorithm>

namespace Kura {

namespace {

using namespace ScreenDrawing;

constexpr int32_t STEP_LESS = -1;
constexpr int32_t STEP_MORE = 1;
constexpr int32_t TURN_OVER = 0;

struct Row {
    int32_t Preferences::*member;
    ScreenText label;
    PreferencesScreen::Shown shown;
    int32_t step;
};

constexpr Row ROWS[] = {
#define KURA_PREFERENCE_ROW(MEMBER, LABEL, SHOWN, STEP)                                            \
    {&Preferences::MEMBER, ScreenText::LABEL, PreferencesScreen::SHOWN, STEP},
    KURA_PREFERENCE_ROWS(KURA_PREFERENCE_ROW)
#undef KURA_PREFERENCE_ROW
};

struct Range {
    int32_t Preferences::*member;
    int32_t low, high;
};

constexpr Range RANGES[] = {
#define KURA_PREFERENCE_RANGE(NAME, KEY, DEFAULT, LOW, HIGH) {&Preferences::NAME, LOW, HIGH},
    KURA_PREFERENCES(KURA_PREFERENCE_RANGE)
#undef KURA_PREFERENCE_RANGE
};

Range RangeOf(int32_t Preferences::*member) {
    return *std::find_if(std::begin(RANGES), std::end(RANGES),
                         [member](const Range& range) { return range.member == member; });
}

std::wstring ValueText(PreferencesScreen::Shown shown, int32_t value) {
    switch (shown) {
    case PreferencesScreen::SPEED:
        // Counted from 1, slowest first; the fastest shows the whole text at once.
        return value == TEXT_SPEED_INSTANT ? ScreenTextOf(ScreenText::PREF_INSTANT)
                                           : std::to_wstring(value + 1);
    case PreferencesScreen::ON_OFF:
        return ScreenTextOf(value != 0 ? ScreenText::ON : ScreenText::OFF);
    case PreferencesScreen::SECONDS:
        return std::to_wstring(value) + L" ms";
    default:
        return std::to_wstring(value) + L"%";
    }
}

} // namespace

static_assert(PreferencesScreen::ROW_COUNT == std::size(ROWS));

Box PreferencesScreen::RowBox(int32_t row) {
    Box box = FIRST_ROW;
    box.y += row * ROW_PITCH;
    return box;
}

Box PreferencesScreen::PartOf(int32_t row, const Box& part) {
    const Box box = RowBox(row);
    return {box.x + part.x, box.y + part.y, part.w, part.h};
}

PreferencesScreen::Action PreferencesScreen::step(const Controller& input) {
    const int32_t x = input.GetMouseX();
    const int32_t y = input.GetMouseY();
    const int32_t row = rowAt(x, y);
    if (input.IsMouseMoved() && row != NONE) m_Cursor = row;
    if (input.IsLMousePressed()) return row == NONE ? NONE : clicked(row, x, y);
    if (input.IsRMousePressed() || input.IsPressed(Controller::KEY_X)) {
        Audio::PlaySe(SimpleMenu::SE_CANCEL);
        return CLOSE;
    }
    if (input.IsPressed(Controller::KEY_Z) || input.IsPressed(Controller::KEY_RETURN))
        return ROWS[m_Cursor].shown == ON_OFF ? change(m_Cursor, TURN_OVER) : NONE;
    if (input.IsRepeat(Controller::KEY_LEFT, REPEAT_INTERVALS)) return change(m_Cursor, STEP_LESS);
    if (input.IsRepeat(Controller::KEY_RIGHT, REPEAT_INTERVALS)) return change(m_Cursor, STEP_MORE);
    const bool up = input.IsRepeat(Controller::KEY_UP, REPEAT_INTERVALS);
    if (up || input.IsRepeat(Controller::KEY_DOWN, REPEAT_INTERVALS)) {
        m_Cursor = (m_Cursor + (up ? ROW_COUNT - 1 : 1)) % ROW_COUNT;
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
    }
    return NONE;
}

PreferencesScreen::Action PreferencesScreen::clicked(int32_t row, int32_t x, int32_t y) {
    m_Cursor = row;
    if (PartOf(row, LESS).contains(x, y)) return change(row, STEP_LESS);
    if (PartOf(row, MORE).contains(x, y)) return change(row, STEP_MORE);
    if (PartOf(row, VALUE).contains(x, y) && ROWS[row].shown == ON_OFF)
        return change(row, TURN_OVER);
    return NONE;
}

PreferencesScreen::Action PreferencesScreen::change(int32_t row, int32_t direction) {
    const Row& shown = ROWS[row];
    const Range range = RangeOf(shown.member);
    int32_t& value = m_Preferences.*shown.member;
    const int32_t next = direction == TURN_OVER
                             ? (value == range.low ? range.high : range.low)
                             : std::clamp(value + direction * shown.step, range.low, range.high);
    if (next == value) return NONE;
    value = next;
    Audio::PlaySe(SimpleMenu::SE_CURSOR);
    return CHANGED;
}

int32_t PreferencesScreen::rowAt(int32_t x, int32_t y) const {
    for (int32_t row = 0; row < ROW_COUNT; ++row)
        if (RowBox(row).contains(x, y)) return row;
    return NONE;
}

void PreferencesScreen::draw() const {
    DimStage();
    Text(TITLE_X, TITLE_Y, ScreenTextOf(ScreenText::PREF_TITLE), TEXT_COLOR);
    for (int32_t row = 0; row < ROW_COUNT; ++row) {
        const Box box = RowBox(row);
        Fill(box, row == m_Cursor ? CURSOR_FILL : ROW_FILL);
        Text(box.x + TEXT_INSET, box.y + TEXT_INSET + LESS.y, ScreenTextOf(ROWS[row].label),
             TEXT_COLOR);
        for (const Box* part : {&LESS, &MORE}) {
            const Box arrow = PartOf(row, *part);
            Fill(arrow, PANEL_FILL);
            Text(arrow.x + TEXT_INSET, arrow.y + TEXT_INSET, part == &LESS ? L"<" : L">",
                 TEXT_COLOR);
        }
        const Box value = PartOf(row, VALUE);
        Text(value.x + TEXT_INSET, value.y + TEXT_INSET,
             ValueText(ROWS[row].shown, m_Preferences.*ROWS[row].member), TEXT_COLOR);
    }
    Text(HINT_X, HINT_Y, ScreenTextOf(ScreenText::PREF_HINT), FAINT_COLOR, HINT_FONT_TYPE);
}

} // namespace Kura

#include "game/screens/BacklogScreen.h"

#include "game/screens/ScreenTexts.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/ImageFont.h"
#include "of/SimpleMenu.h"
#include "util/ConvString.h"

#include <algorithm>

namespace Kura {

namespace {

using namespace ScreenDrawing;

constexpr uint32_t NAME_COLOR = 0xFF80E0FF;   // 0xAABBGGRR: a warm yellow
constexpr uint32_t CHOICE_COLOR = 0xFFFFC080; // a light blue
constexpr wchar_t ELLIPSIS = L'\u2026';

std::wstring Wide(const std::string& narrow) {
    return ConvString::AnsiToWide(narrow);
}

// Lines of at most width units in the screens' font, broken anywhere (the
// story's texts have no spaces to break at); a line feed breaks too.
std::vector<std::wstring> WrapLines(const std::wstring& text, int32_t width) {
    std::vector<std::wstring> lines(1);
    ImageFont* font = ImageFont::Get();
    for (wchar_t character : text) {
        if (character == L'\n') {
            lines.emplace_back();
            continue;
        }
        std::wstring longer = lines.back() + character;
        if (font != nullptr && !lines.back().empty() &&
            font->GetWidth(SCREEN_FONT_TYPE, longer) > width) {
            lines.emplace_back(1, character);
            continue;
        }
        lines.back() = std::move(longer);
    }
    if (static_cast<int32_t>(lines.size()) > BacklogScreen::MAX_LINES) {
        lines.resize(BacklogScreen::MAX_LINES);
        std::wstring& last = lines.back();
        if (last.empty())
            last += ELLIPSIS;
        else
            last.back() = ELLIPSIS;
    }
    return lines;
}

} // namespace

BacklogScreen::BacklogScreen(const std::deque<MessageHistory::Entry>& entries) {
    const int32_t width = FIRST_ROW.w - TEXT_X - TEXT_INSET;
    for (const MessageHistory::Entry& entry : entries) {
        const std::wstring name =
            entry.choice ? ScreenTextOf(ScreenText::BACKLOG_CHOICE) : Wide(entry.speaker);
        m_Shown.push_back({entry, name, WrapLines(Wide(entry.text), width)});
    }
    m_Cursor = count() - 1;
    scroll(count() - VISIBLE_ROWS);
}

Box BacklogScreen::RowBox(int32_t row) {
    Box box = FIRST_ROW;
    box.y += row * ROW_PITCH;
    return box;
}

void BacklogScreen::scroll(int32_t first) {
    m_First = std::clamp(first, 0, std::max(0, count() - VISIBLE_ROWS));
}

// The page follows the cursor.
void BacklogScreen::moveCursor(int32_t cursor) {
    if (count() == 0) return;
    m_Cursor = std::clamp(cursor, 0, count() - 1);
    if (m_Cursor < m_First) scroll(m_Cursor);
    if (m_Cursor >= m_First + VISIBLE_ROWS) scroll(m_Cursor - VISIBLE_ROWS + 1);
}

BacklogScreen::Action BacklogScreen::step(const Controller& input, int32_t wheelSteps) {
    if (m_Question) {
        const QuestionBox::Answer answer = m_Question->step(input);
        if (answer != QuestionBox::NONE) m_Question.reset();
        return answer == QuestionBox::YES ? Action{Action::ROLL_BACK, m_Shown[m_Cursor].entry.stop}
                                          : Action{};
    }
    // The cursor keeps its entry while the page scrolls under it.
    scroll(m_First - wheelSteps);
    const int32_t entry = entryAt(input.GetMouseX(), input.GetMouseY());
    if ((input.IsMouseMoved() || wheelSteps != 0) && entry != NONE) m_Cursor = entry;
    if (input.IsLMousePressed()) return entry == NONE ? Action{} : ask(entry);
    if (input.IsRMousePressed() || input.IsPressed(Controller::KEY_X)) {
        Audio::PlaySe(SimpleMenu::SE_CANCEL);
        return {Action::CLOSE};
    }
    if (input.IsPressed(Controller::KEY_Z) || input.IsPressed(Controller::KEY_RETURN))
        return m_Cursor == NONE ? Action{} : ask(m_Cursor);
    const bool up = input.IsRepeat(Controller::KEY_UP, CURSOR_REPEAT_INTERVALS);
    if (up || input.IsRepeat(Controller::KEY_DOWN, CURSOR_REPEAT_INTERVALS)) {
        moveCursor(m_Cursor + (up ? -1 : 1));
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
    }
    return {};
}

BacklogScreen::Action BacklogScreen::ask(int32_t entry) {
    m_Cursor = entry;
    Audio::PlaySe(SimpleMenu::SE_DECIDE);
    m_Question.emplace(ScreenText::CONFIRM_ROLL_BACK);
    return {};
}

int32_t BacklogScreen::entryAt(int32_t x, int32_t y) const {
    for (int32_t row = 0; row < VISIBLE_ROWS && m_First + row < count(); ++row)
        if (RowBox(row).contains(x, y)) return m_First + row;
    return NONE;
}

void BacklogScreen::draw() const {
    DimStage();
    Text(TITLE_X, TITLE_Y, ScreenTextOf(ScreenText::BACKLOG_TITLE), TEXT_COLOR);
    for (int32_t row = 0; row < VISIBLE_ROWS && m_First + row < count(); ++row)
        drawRow(row);
    Text(HINT_X, HINT_Y, ScreenTextOf(ScreenText::BACKLOG_HINT), FAINT_COLOR, HINT_FONT_TYPE);
    if (m_Question) m_Question->draw();
}

void BacklogScreen::drawRow(int32_t row) const {
    const Shown& shown = m_Shown[m_First + row];
    const Box box = RowBox(row);
    Fill(box, m_First + row == m_Cursor ? CURSOR_FILL : ROW_FILL);
    Text(box.x + TEXT_INSET, box.y + TEXT_TOP, shown.name, NAME_COLOR);
    int32_t y = box.y + TEXT_TOP;
    for (const std::wstring& line : shown.lines) {
        Text(box.x + TEXT_X, y, line, shown.entry.choice ? CHOICE_COLOR : TEXT_COLOR);
        y += LINE_PITCH;
    }
}

} // namespace Kura

// The screen's answers to input, read from the same per-frame controller the
// story's menus read, with the menus' sounds: decide, cancel, cursor.
#include "game/screens/SlotScreen.h"

#include "game/screens/SlotScreenLayout.h"
#include "of/Audio.h"
#include "of/Controller.h"
#include "of/SimpleMenu.h"
#include "of/TextureManager.h"

#include <filesystem>

namespace Kura {

namespace {

using ScreenDrawing::NONE;

// The slots of the page after the numbered ones, as far as the page holds them.
std::vector<SlotId> OtherSlots() {
    std::vector<SlotId> slots{{SlotId::QUICK, 1}};
    for (int32_t number = 1; number <= SlotStore::AUTO_SLOTS; ++number)
        slots.push_back({SlotId::AUTO, number});
    return slots;
}

} // namespace

SlotScreen::SlotScreen(Mode mode, const SlotStore& slots, bool unsavedPlay)
    : m_Mode(mode), m_Slots(slots), m_UnsavedPlay(unsavedPlay) {
    turnPage(0);
}

SlotScreen::~SlotScreen() {
    TextureManager* textures = TextureManager::Get();
    for (int32_t row = 0; textures != nullptr && row < SlotStore::SLOTS_PER_PAGE; ++row)
        textures->Release(THUMBNAIL_TEXTURE_BASE + row);
}

// Saving goes only into numbered slots: the quick and auto slots are the
// game's own, written by their keys and by the story.
int32_t SlotScreen::pageCount() const {
    return m_Mode == SAVE ? NUMBERED_PAGES : NUMBERED_PAGES + 1;
}

void SlotScreen::turnPage(int32_t page) {
    m_Page = (page + pageCount()) % pageCount();
    m_Cursor = 0;
    showSlots();
}

void SlotScreen::showSlots() {
    std::vector<SlotId> slots;
    if (m_Page < NUMBERED_PAGES) {
        for (int32_t row = 0; row < SlotStore::SLOTS_PER_PAGE; ++row)
            slots.push_back({SlotId::NUMBERED, m_Page * SlotStore::SLOTS_PER_PAGE + row + 1});
    } else {
        slots = OtherSlots();
    }
    m_Rows.clear();
    TextureManager* textures = TextureManager::Get();
    for (size_t row = 0; row < slots.size(); ++row) {
        Row shown{slots[row], m_Slots.read(slots[row]), false};
        // Absolute, since the texture loader reads relative names below the data folder.
        std::error_code error;
        const std::string picture =
            std::filesystem::absolute(m_Slots.thumbnailPath(slots[row]), error).string();
        const int32_t texture = THUMBNAIL_TEXTURE_BASE + static_cast<int32_t>(row);
        // A save without its picture (an auto-save made at exit) shows none.
        shown.thumbnail = shown.read.status == SlotRead::SAVED &&
                          std::filesystem::exists(picture, error) &&
                          textures->LoadTexture(picture, texture);
        if (!shown.thumbnail) textures->Release(texture);
        m_Rows.push_back(std::move(shown));
    }
}

SlotScreen::Action SlotScreen::step(const Controller& input) {
    if (m_QuestionBox) return answer(m_QuestionBox->step(input));
    const int32_t x = input.GetMouseX();
    const int32_t y = input.GetMouseY();
    const int32_t row = rowAt(x, y);
    if (input.IsMouseMoved() && row != NONE) m_Cursor = row;
    if (input.IsLMousePressed()) {
        const int32_t tab = tabAt(x, y);
        if (tab != NONE) {
            Audio::PlaySe(SimpleMenu::SE_CURSOR);
            turnPage(tab);
        }
        return row == NONE ? Action{} : decide(row);
    }
    if (input.IsRMousePressed() || input.IsPressed(Controller::KEY_X)) {
        Audio::PlaySe(SimpleMenu::SE_CANCEL);
        return {Action::CLOSE, {}};
    }
    if (input.IsPressed(Controller::KEY_Z)) return decide(m_Cursor);
    const int32_t rows = static_cast<int32_t>(m_Rows.size());
    if (input.IsRepeat(Controller::KEY_UP, CURSOR_REPEAT_INTERVALS)) {
        m_Cursor = (m_Cursor + rows - 1) % rows;
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
    } else if (input.IsRepeat(Controller::KEY_DOWN, CURSOR_REPEAT_INTERVALS)) {
        m_Cursor = (m_Cursor + 1) % rows;
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
    } else if (input.IsPressed(Controller::KEY_LEFT) || input.IsPressed(Controller::KEY_RIGHT)) {
        turnPage(m_Page + (input.IsPressed(Controller::KEY_LEFT) ? -1 : 1));
        Audio::PlaySe(SimpleMenu::SE_CURSOR);
    }
    return {};
}

SlotScreen::Action SlotScreen::decide(int32_t row) {
    m_Cursor = row;
    const Row& chosen = m_Rows[row];
    const SlotRead::Status status = chosen.read.status;
    Question question = NO_QUESTION;
    if (m_Mode == SAVE) {
        if (status == SlotRead::EMPTY) return decided({Action::SAVE, chosen.slot});
        question = OVERWRITE;
    } else if (status == SlotRead::DAMAGED) {
        // Only a backup that loads is offered.
        if (m_Slots.readBackup(chosen.slot).status != SlotRead::SAVED) return {};
        question = LOAD_BACKUP;
    } else if (status == SlotRead::SAVED) {
        if (!m_UnsavedPlay) return decided({Action::LOAD, chosen.slot});
        question = LOAD_OVER;
    } else {
        return {};
    }
    Audio::PlaySe(SimpleMenu::SE_DECIDE);
    m_Question = question;
    ScreenText text = ScreenText::CONFIRM_LOAD;
    if (question == OVERWRITE) text = ScreenText::CONFIRM_OVERWRITE;
    if (question == LOAD_BACKUP) text = ScreenText::CONFIRM_BACKUP;
    m_QuestionBox.emplace(text);
    return {};
}

SlotScreen::Action SlotScreen::answer(QuestionBox::Answer answer) {
    if (answer == QuestionBox::NONE) return {};
    m_QuestionBox.reset();
    if (answer == QuestionBox::NO) return {};
    const SlotId slot = m_Rows[m_Cursor].slot;
    return {m_Question == OVERWRITE ? Action::SAVE : Action::LOAD, slot};
}

SlotScreen::Action SlotScreen::decided(Action action) {
    Audio::PlaySe(SimpleMenu::SE_DECIDE);
    return action;
}

int32_t SlotScreen::rowAt(int32_t x, int32_t y) const {
    for (int32_t row = 0; row < static_cast<int32_t>(m_Rows.size()); ++row)
        if (SlotScreenLayout::Row(row).contains(x, y)) return row;
    return NONE;
}

int32_t SlotScreen::tabAt(int32_t x, int32_t y) const {
    for (int32_t page = 0; page < pageCount(); ++page)
        if (SlotScreenLayout::Tab(page, page == NUMBERED_PAGES).contains(x, y)) return page;
    return NONE;
}

} // namespace Kura

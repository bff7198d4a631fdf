// The problems are gathered as the check of a game gathers them, into a report
// whose latest entry is the banner. A reload starts a fresh report: what the
// replay meets again is the latest problem again, and a mended one is gone.
#include "game/dev/DevMode.h"

#include "game/canvas/Canvas.h"
#include "game/check/CheckReport.h"
#include "game/check/KelMessages.h"
#include "game/controller/GameMain.h"
#include "game/player/ScenarioPlayer.h"
#include "game/settings/Setting.h"
#include "of/Draw2D.h"
#include "of/ImageFont.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

#include <memory>

namespace Kura::DevMode {

namespace {

constexpr int RELOAD_KEY = 'R'; // with Shift held, as the window reports it
constexpr int32_t BANNER_FONT_TYPE = 0;
constexpr int32_t BANNER_PADDING = 4; // canvas units around the text
constexpr uint32_t BANNER_TEXT_RGBA = 0xFFFFFFFF;
// A dark red that no picture of a story is likely to be mistaken for.
constexpr int32_t BANNER_RED = 160, BANNER_GREEN = 0, BANNER_BLUE = 0, BANNER_ALPHA = 230;
constexpr const char* ENGINE_CHECK_PREFIX = "engine check failed: ";
// The line of an engine check's report that says what failed.
constexpr wchar_t REPORT_MESSAGE_KEY[] = L"mes=";
constexpr wchar_t REPORT_FUNCTION_KEY[] = L"Func=";

struct State {
    CheckReport report;
    std::unique_ptr<KelMessages> messages;
    std::string fallbackFile;
    bool reloadAsked = false;
};
std::unique_ptr<State> g_pState;

// The value of key's line in an engine check's report ("Func=...").
std::wstring ReportField(const std::wstring& report, const wchar_t* key) {
    const size_t at = report.find(key);
    if (at == std::wstring::npos) return {};
    const size_t start = at + std::char_traits<wchar_t>::length(key);
    return report.substr(start, report.find(L'\n', start) - start);
}

// Placed at the scenario command that was running, which is what an author
// can change; the engine's own place is in log.txt. A failure with no command
// running follows from a problem shown already (a scene that did not compile
// is then not loaded), so it does not take that problem's place.
void EngineCheckFailed(const std::wstring& report) {
    if (!g_pState) return;
    const Kel::SourcePlace place = KelMessages::runningPlace();
    if (place.line == 0 && g_pState->report.latest()) return;
    std::wstring what = ReportField(report, REPORT_MESSAGE_KEY);
    const std::wstring function = ReportField(report, REPORT_FUNCTION_KEY);
    if (what.empty())
        what = function;
    else if (!function.empty())
        what += L" (" + function + L")";
    g_pState->report.add(KelMessages::fileOf(place), place.line,
                         ENGINE_CHECK_PREFIX + ConvString::WideToUtf8(what));
}

// As much of text as fits in width, cut at a whole character.
std::wstring Fitted(ImageFont& fonts, std::wstring text, int32_t width) {
    while (!text.empty() && fonts.GetWidth(BANNER_FONT_TYPE, text) > width)
        text.pop_back();
    return text;
}

} // namespace

void Start() {
    g_pState = std::make_unique<State>();
    g_pState->messages = std::make_unique<KelMessages>(g_pState->report, true);
    SetDebugBreakHook(EngineCheckFailed);
}

bool IsOn() {
    return g_pState != nullptr;
}

void Watch(Kel::Interpreter* interpreter) {
    if (!g_pState) return;
    g_pState->fallbackFile = Setting::get()->getDataPath(ScenarioPlayer::SCENARIO_FOLDER, "");
    g_pState->messages->watch(interpreter, g_pState->fallbackFile);
}

std::string Latest() {
    if (!g_pState || !g_pState->report.latest()) return {};
    const CheckProblem& problem = *g_pState->report.latest();
    if (problem.line == 0) return problem.text;
    return problem.file + ':' + std::to_string(problem.line) + ": " + problem.text;
}

void Update() {
    if (!g_pState || !g_pState->reloadAsked) return;
    g_pState->reloadAsked = false;
    GameMain* game = GameMain::get();
    if (!game) return;
    CheckReport kept = g_pState->report;
    g_pState->report.clear();
    if (!game->replayEditedScenes()) g_pState->report = kept;
}

void DrawBanner() {
    const std::string latest = Latest();
    if (latest.empty()) return;
    ImageFont& fonts = *ImageFont::Get();
    fonts.SetFontType(BANNER_FONT_TYPE);
    const int32_t height = fonts.GetLineHeight() + 2 * BANNER_PADDING;
    Draw2D drawer;
    drawer.SetTexture(nullptr, false);
    drawer.SetColor(BANNER_RED, BANNER_GREEN, BANNER_BLUE, BANNER_ALPHA);
    drawer.DrawRect(0, 0, Canvas::WIDTH, height);
    fonts.SetColor(BANNER_TEXT_RGBA);
    const std::wstring text = Fitted(fonts, ConvString::AnsiToWide(ConvString::Utf8ToAnsi(latest)),
                                     Canvas::WIDTH - 2 * BANNER_PADDING);
    fonts.Draw(BANNER_PADDING, BANNER_PADDING, text.c_str());
}

bool KeyPressed(int key) {
    if (!g_pState || key != RELOAD_KEY) return false;
    g_pState->reloadAsked = true;
    return true;
}

} // namespace Kura::DevMode

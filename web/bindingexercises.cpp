// The page's way to practice sights: a fresh seed to offer, and the sights
// of a seed as the fields, names and method take them, answered in JSON as
// the rest of the binding answers. sightform --exercises writes the same
// sights from the same seed.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <optional>
#include <string>

#include "exercises/exercises.h"
#include "reduction/calculate.h"
#include "web/page.h"

using binding::finish;
using binding::key;
using binding::Page;
using binding::text;
using binding::Writer;

namespace {

// 0: both methods; 1: every sight by Q(x); 2: by QQ(x).
std::optional<reduction::Method> methodChoice(int method) {
    if (method == 1)
        return reduction::Method::Q;
    if (method == 2)
        return reduction::Method::QQ;
    return std::nullopt;
}

// "texts": the eight field texts in the fields' order, "method", "decName",
// "latName", "loName": the keys of a sight, in the object being written.
void writeSightKeys(Writer& json, const reduction::ReductionInput& sight) {
    key(json, "texts");
    json.StartArray();
    for (const std::string& fieldText : exercises::fieldTexts(sight))
        text(json, fieldText);
    json.EndArray();
    key(json, "method");
    text(json, sight.method == reduction::Method::Q ? "Q" : "QQ");
    key(json, "decName");
    text(json, reduction::nameText(sight.decName));
    key(json, "latName");
    text(json, reduction::nameText(sight.latName));
    key(json, "loName");
    text(json, reduction::nameText(sight.loName));
}

// The seed written back as the core read it ("seed"), or null when the
// text is not a seed; the body writes the rest of the answer.
template <typename Body> const char* answerForSeed(Page& page, const char* seedText, Body body) {
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "seed");
    const std::optional<std::uint64_t> seed = exercises::seedFromText(seedText);
    if (seed) {
        text(json, std::to_string(*seed));
        body(json, *seed);
    } else {
        json.Null();
    }
    json.EndObject();
    return finish(page, buffer);
}

} // namespace

extern "C" {

// A seed to offer for a new exercise: six digits, as text.
EMSCRIPTEN_KEEPALIVE const char* sight_exercise_seed(Page* page) {
    page->answer = std::to_string(exercises::freshSeed());
    return page->answer.c_str();
}

// The seed's exercise, what New Exercise fills in: {"seed", and the sight's
// "texts", "method", "decName", "latName", "loName"}, or {"seed": null}
// when the text is not a seed. method as for sight_exercises.
EMSCRIPTEN_KEEPALIVE const char* sight_exercise(Page* page, const char* seedText, int method) {
    return answerForSeed(*page, seedText, [method](Writer& json, std::uint64_t seed) {
        writeSightKeys(json, exercises::exercise(seed, methodChoice(method)));
    });
}

// The seed's first count exercises, each as above, in the order sightform
// --exercises writes them: {"seed", "sights": [...]}, or {"seed": null}.
// method: 0 both methods, 1 every sight by Q(x), 2 by QQ(x).
EMSCRIPTEN_KEEPALIVE const char* sight_exercises(Page* page, const char* seedText, int count,
                                                 int method) {
    return answerForSeed(*page, seedText, [count, method](Writer& json, std::uint64_t seed) {
        exercises::ExerciseStream stream(seed, methodChoice(method));
        key(json, "sights");
        json.StartArray();
        for (int i = 0; i < count; ++i) {
            json.StartObject();
            writeSightKeys(json, stream.next());
            json.EndObject();
        }
        json.EndArray();
    });
}

} // extern "C"

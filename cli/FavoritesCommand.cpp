// vesk favorites: the Find Source dialog's favourite files.
#include "cli/Command.h"
#include "expert/finder/FindExpEngine.h"
#include "platform/rtl/FileUtils.h"

#include <iostream>
#include <optional>

namespace vesk::cli {

namespace {

class FavoritesCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        auto* add = app.add_option("--add", FAdd, "add an existing file at the end of the list");
        auto* remove = app.add_option("--remove", FRemove, "remove entry N (as listed, from 1)");
        add->excludes(remove);
    }

    int Run() override {
        TFindExpEngine engine(nullptr, false); // the main program: nothing to open files in
        if (FAdd || FRemove) {
            engine.SelectPage(PageType::ptFFavor);
            if (FAdd) {
                if (!FileExists(*FAdd))
                    throw CommandError("'" + *FAdd + "' is not an existing file");
                engine.AddFavorite(ExpandFileName(*FAdd));
            } else {
                const int count = engine.FavorBox().Items.Count();
                if (*FRemove < 1 || *FRemove > count)
                    throw CommandError("there is no favourite " + std::to_string(*FRemove) +
                                       " (the list has " + std::to_string(count) + ")");
                engine.SelectFavor(*FRemove - 1);
                engine.DelFavorite1Click();
            }
            engine.FormClose(); // stores the list as leaving its page does
        }
        std::string out;
        const TStringList& favourites = engine.FavorBox().Items;
        for (int i = 0; i < favourites.Count(); ++i)
            out.append(std::to_string(i + 1)).append("\t").append(favourites[i]).push_back('\n');
        std::cout << out << std::flush;
        return ExitOk;
    }

private:
    std::optional<std::string> FAdd;
    std::optional<int> FRemove;
};

const CommandRegistration favoritesRegistration{
    "favorites", "List, add or remove the favourite files of the Find Source dialog",
    [] { return std::make_unique<FavoritesCommand>(); }};

} // namespace

} // namespace vesk::cli

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
        app.footer("The list keeps at most 256 files (as many as the dialog reads back). Changes\n"
                   "are made to the list as stored at that moment, so commands run at the same\n"
                   "time lose none of each other's.");
    }

    int Run() override {
        TFindExpEngine engine(nullptr, false); // the main program: nothing to open files in
        if (FAdd || FRemove) {
            engine.SelectPage(PageType::ptFFavor);
            if (FAdd) {
                if (!FileExists(*FAdd))
                    throw CommandError("'" + *FAdd + "' is not an existing file");
                if (!engine.AddFavorite(ExpandFileName(*FAdd)))
                    throw Full();
            } else {
                const int count = engine.FavorBox().Items.Count();
                if (*FRemove < 1 || *FRemove > count)
                    throw CommandError("there is no favourite " + std::to_string(*FRemove) +
                                       " (the list has " + std::to_string(count) + ")");
                engine.SelectFavor(*FRemove - 1);
                engine.DelFavorite1Click();
            }
            // One transaction: the stored list is read again under the lock and changed.
            if (!engine.StoreFavorites().empty())
                throw Full();
        }
        OutputBuffer out;
        const TStringList& favourites = engine.FavorBox().Items;
        for (int i = 0; i < favourites.Count(); ++i)
            out << std::to_string(i + 1) << "\t" << favourites[i] << '\n';
        return ExitOk;
    }

private:
    static CommandError Full() {
        return CommandError("the list of favourites is full: it holds the 256 entries that are "
                            "read back; remove one first");
    }

    std::optional<std::string> FAdd;
    std::optional<int> FRemove;
};

const CommandRegistration favoritesRegistration{
    "favorites", "List, add or remove the favourite files of the Find Source dialog",
    [] { return std::make_unique<FavoritesCommand>(); }};

} // namespace

} // namespace vesk::cli

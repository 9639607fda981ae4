#include "helptext.h"

namespace {

constexpr const char* kOverview = R"(
<h3>Backgammon</h3>
<p>Backgammon is one of the oldest board games: two players race their fifteen checkers around
a board of twenty-four points, in opposite directions, and the first to bear all of them off
wins. The dice decide how far you may move; choosing which checkers to move, when to hit and
when to play safe is the skill.</p>
<p>This program puts a chat room around the board. Two people play; up to seven more may join
as spectators (spies) who watch the game and chat. A bot called Zobo plays any seat that no
person plays, so you can always play a game on your own.</p>
<p>The program also includes the variant <b>Acey-Deucey</b>, in which all checkers start off
the board and a throw of 1 and 2 earns a double of your choice. The host of a game chooses
the variant when starting it.</p>
<p>Games against opponents you choose are counted in the tally (View, View Tally), which is
kept between sessions.</p>
)";

constexpr const char* kConnecting = R"(
<h3>Solo games</h3>
<p>Started on its own, the program hosts a game on this computer and seats you ("You")
against the bot Zobo. A window then offers to download and install The Veskor Lobby; choose
"Play Solo Game" to go on without it.</p>
<h3>Multi-player games</h3>
<p>Games with other people are arranged in The Veskor Lobby. When a game is set up there, the
lobby starts Backgammon with your name, the address of the hosting computer and whether your
copy is the host. If you already have the lobby, "Play with Others" in the download window
closes this game and opens the lobby.</p>
<h3>Hosting and the firewall</h3>
<p>The hosting copy accepts the players and spectators on <b>TCP port 7772</b> on all of the
computer's network addresses, and its own window connects to it at 127.0.0.1. The first two
connections are the players, the next seven are spectators; a tenth is turned away with "Game
is full".</p>
<p>Your firewall must let Backgammon accept connections on TCP port 7772 when you host, and
let it connect out when you join. Even a solo game talks to its own host over the network
components of your computer, so the firewall must allow it even when you play offline. If
another program already uses port 7772 the game cannot host and says so.</p>
<p>Only one copy of Backgammon runs at a time: starting it again brings the running copy to
the front.</p>
)";

constexpr const char* kGamePlay = R"(
<h3>Starting a game</h3>
<p>The hosting player chooses File, Start Game (or the start button on the board), sets the
time per turn and the game type, Backgammon or Acey-Deucey. Each player then clicks the
picture that shows the direction of play. Each side throws one die; the higher die begins
(a tie is decided at random) and plays both start dice as its first throw.</p>
<h3>Your turn</h3>
<p>Click the dice cup to throw. Then click one of your checkers: small dice appear on the
points it can reach, one for each die that can still be used. Click a small die to move the
checker by that die. Every move uses exactly one die; a double gives four moves. When no die
or no legal move is left, the turn passes to your opponent after two seconds.</p>
<p>A point held by two or more of your opponent's checkers is blocked. Landing on a point with
a single opposing checker hits it and puts it on the bar. Checkers on the bar must enter
again before any other checker moves.</p>
<h3>Bearing off</h3>
<p>Once all your checkers are in your home board, clicking one also shows the tall bear-off
dice beside the tray. A die that carries the checker exactly off the board bears it off. A
larger die may be used only when no checker fits that die exactly, and then only for the
checker farthest from home. The first player to bear off all fifteen checkers wins.</p>
<h3>Undo</h3>
<p>After a plain move the Undo button takes that move back and returns its die. Only the last
move can be undone; a hit, an entry from the bar and a bearing off cannot.</p>
<h3>Time</h3>
<p>Each turn has the time chosen at the start (120 seconds unless the host changed it).
"TIME IS RUNNING OUT" blinks when 15 seconds are left; when the time is up the bot plays the
rest of your turn.</p>
<h3>Conceding</h3>
<p>The white flag beside your name gives the game to your opponent at once; there is no
question first.</p>
<h3>The bot</h3>
<p>The hosting copy's Options menu sets how the bot plays: Bot Speed (Slow, Normal, Fast) and
Bot Abilities. With <b>Limited</b> the bot sometimes passes up a hit and never uses some of
its positional moves, which makes it an easier opponent; <b>Not Limited</b> lets it play as
well as it can.</p>
)";

constexpr const char* kAceyDeucey = R"(
<h3>Acey-Deucey</h3>
<p>Acey-Deucey is played on the same board with the same moves, hits and bearing off as
Backgammon, with two extra rules.</p>
<p><b>1. All checkers start off the board.</b> Both players begin with their fifteen
checkers beside the board and bring them in by the dice, as a checker enters from the bar.
You need not bring them all in before moving the others on.</p>
<p><b>2. Acey-deucey: the throw of 1 and 2.</b> Play the 1 and the 2; then choose any double
in the "CHOOSE YOUR DOUBLES" panel and play four moves of it; then throw again.</p>
)";

constexpr const char* kDocumentation = R"(
<h3>Version history</h3>
<p><b>1.0.4</b> (this version)</p>
<ul>
<li>Backgammon and Acey-Deucey for two players, hosted by one copy on TCP port 7772, with up
to seven spectators.</li>
<li>The bot Zobo plays free seats and turns whose time ran out, at three speeds and two
abilities.</li>
<li>A chat room with colours, actions, phrase buttons, smileys, links and chatter sounds.</li>
<li>The tally of games against chosen opponents, kept between sessions.</li>
<li>Download and silent installation of The Veskor Lobby from the start window.</li>
</ul>
<p>Every copy reports its version when it joins a game; a host tells a player whose version
differs, since the two copies may not understand each other fully.</p>
)";

constexpr const char* kLicense = R"(
<h3>License</h3>
<p>Backgammon 1.0.4, copyright Veskor.</p>
<p>You may use this program free of charge, and copy it and give it to others, as long as it
is unchanged and no fee is asked for it.</p>
<p>The program is provided "as is", without warranty of any kind, express or implied,
including the warranties of merchantability and fitness for a particular purpose. In no
event shall the makers be liable for any claim, damages or other liability arising from the
use of the program or from dealings with it.</p>
)";

constexpr const char* kLobby = R"(
<h3>The Veskor Lobby</h3>
<p>The Veskor Lobby is a separate program of the makers of Backgammon. It is where players
meet: you see who is online, chat with them, and set up a game of Backgammon or of the other
games the lobby offers. When a game is arranged the lobby starts Backgammon for every player,
telling each copy who hosts.</p>
<p>To get it, click "Download And Install The Veskor Lobby Now" in the window shown when the
program starts on its own: the installer is downloaded and installed without further
questions, and this game closes. "Stop Download" ends a download that takes too long.</p>
)";

constexpr HelpTopic kTopics[] = {
    {1, "Overview", kOverview},
    {2, "Connecting", kConnecting},
    {3, "Game Play", kGamePlay},
    {4, "Acey Deucy", kAceyDeucey},
    {5, "Documentation", kDocumentation},
    {6, "License", kLicense},
    {11, "The Lobby", kLobby},
};

} // namespace

std::span<const HelpTopic> helpTopics() {
    return kTopics;
}

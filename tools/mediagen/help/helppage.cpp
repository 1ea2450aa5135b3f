#include "help/helppage.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace mediagen {

namespace {

// Written so that it also parses as XML: every element is closed, which lets
// the tests check its structure with a strict reader.
const char kHelpPage[] = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8" />
<meta name="viewport" content="width=device-width, initial-scale=1" />
<title>Quorvel Learning Help: Colors and Shapes</title>
<style>
  body { font-family: "DejaVu Sans", Verdana, Arial, sans-serif; margin: 0;
         background: #f4fbff; color: #1d2b3a; line-height: 1.5; }
  header { background: linear-gradient(#3a8fd8, #2467a8); color: #fff; padding: 1.2em 2em; }
  header h1 { margin: 0; font-size: 1.8em; }
  header p { margin: 0.3em 0 0; font-size: 1.05em; }
  main { max-width: 46em; margin: 0 auto; padding: 1em 2em 2em; }
  h2 { color: #2467a8; border-bottom: 3px solid #ffd23f; padding-bottom: 0.15em; margin-top: 1.6em; }
  h3 { color: #c2410c; margin-bottom: 0.2em; }
  nav ul { padding-left: 1.2em; }
  table { border-collapse: collapse; width: 100%; margin: 0.6em 0; background: #fff; }
  th, td { border: 1px solid #c9d9e8; padding: 0.35em 0.6em; text-align: left; vertical-align: top; }
  th { background: #e3f1fc; }
  kbd { background: #fff; border: 1px solid #9bb; border-bottom-width: 2px; border-radius: 4px;
        padding: 0 0.3em; font-family: inherit; font-size: 0.95em; }
  .caption { color: #14395e; }
  .tip { background: #fff8d6; border-left: 5px solid #ffd23f; padding: 0.5em 1em; }
  footer { text-align: center; color: #5b6b7a; font-size: 0.9em; padding: 1em; }
</style>
</head>
<body>
<header>
<h1>Quorvel Learning: Colors and Shapes</h1>
<p>A help page for parents and teachers</p>
</header>
<main>
<p>Quorvel Learning teaches children from two to six years old the names of eleven colors
(black, blue, brown, gray, green, orange, pink, purple, red, white and yellow) and ten shapes
(circle, diamond, heart, octagon, oval, pentagon, rectangle, square, star and triangle).
A friendly voice names everything the child sees, so no reading is needed.</p>

<nav>
<h2>Contents</h2>
<ul>
<li><a href="#activities">The four activities</a></li>
<li><a href="#using">Using the mouse and the keyboard</a></li>
<li><a href="#parents">For parents: full screen and the lock</a></li>
<li><a href="#options">The options</a></li>
<li><a href="#settings">Where the settings are kept</a></li>
<li><a href="#privacy">Privacy</a></li>
</ul>
</nav>

<section id="activities">
<h2>The four activities</h2>
<p>When the program starts, the selection screen shows four big buttons. Click one to begin.
To choose another activity later, use <b class="caption">New</b> in the <b class="caption">File</b> menu.</p>

<h3>Learn Colors</h3>
<p>One large picture of a colored shape appears at a time, brought in with a playful
transition effect. When it has arrived, the voice says the name of its color. The colors
come one after another, so your child hears all eleven in turn.</p>

<h3>Learn Shapes</h3>
<p>The same, for shapes: each picture is followed by the name of its shape, and the
ten shapes come one after another.</p>

<h3>Play Colors</h3>
<p>Four pictures come in one after the other, each with a little sound. Then the voice asks,
for example, &#8220;Can you find red?&#8221; Your child clicks a picture. A right answer brings
a reward picture, some praise and the next question. A wrong answer is named
(&#8220;That is blue&#8221;) and the question is asked again, so every click teaches something.</p>

<h3>Play Shapes</h3>
<p>The same game with shapes: &#8220;Can you find the star?&#8221; A wrong click is named
(&#8220;This is a circle&#8221;) and the question is asked again.</p>

<p class="tip">While a game waits for an answer, the question is repeated after a long pause
(about fifteen seconds) if &#8220;Repeat&#8221; is switched on in the options, so a child who
wandered off is gently reminded.</p>

<p>Behind the activities the background picture changes from time to time and cheerful
background music plays. Both can be changed or switched off in the options.</p>
</section>

<section id="using">
<h2>Using the mouse and the keyboard</h2>
<p>Small children only need the mouse: click a button on the selection screen to start,
and click a picture to answer in the games.</p>
<p>In the learn activities the pictures change by themselves every few seconds. If you choose
<b class="caption">Keyboard</b> under <b class="caption">Change Shapes</b> on the <b class="caption">Learn Options</b> page of the options, the next picture comes instead
when any key is pressed, so you and your child can take as long as you like over each one.</p>

<h3>Playing with the keyboard</h3>
<p>Everything can be done without a mouse. A thick yellow ring with black edges shows which
button, picture or option the keys work on.</p>
<table>
<tr><th>Keys</th><th>Where</th><th>What they do</th></tr>
<tr><td><kbd>Tab</kbd>, <kbd>Shift</kbd>+<kbd>Tab</kbd> or the arrow keys</td><td>The selection screen</td><td>Move the ring from one big button to the next.</td></tr>
<tr><td><kbd>Space</kbd> or <kbd>Return</kbd></td><td>The selection screen, the About box, the options</td><td>Press the button in the ring.</td></tr>
<tr><td>The arrow keys, <kbd>Tab</kbd> and <kbd>Shift</kbd>+<kbd>Tab</kbd></td><td>Play Colors and Play Shapes</td><td>Move the ring between the four pictures.</td></tr>
<tr><td><kbd>Space</kbd> or <kbd>Return</kbd></td><td>Play Colors and Play Shapes</td><td>Answer with the picture in the ring, just like a click on it.</td></tr>
<tr><td><kbd>1</kbd>, <kbd>2</kbd>, <kbd>3</kbd>, <kbd>4</kbd></td><td>Play Colors and Play Shapes</td><td>Answer with the top left, top right, bottom left or bottom right picture.</td></tr>
<tr><td><kbd>Escape</kbd></td><td>The About box and the selection screen opened from the menu, the options</td><td>Close it. Closing the options this way keeps the old settings.</td></tr>
<tr><td><kbd>Alt</kbd>+the underlined letter</td><td>The options</td><td>Go to that page or option.</td></tr>
</table>
<p>The keys answer only once all four pictures have arrived, and keys pressed while the voice
answers are not counted, just like clicks. If <b class="caption">Keyboard</b> is chosen under
<b class="caption">Change Shapes</b>, every key asks for a new question instead, so the keys
above do not answer.</p>

<h3>Menu shortcuts</h3>
<table>
<tr><th>Keys</th><th>Menu</th><th>Menu item</th><th>What it does</th></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>N</kbd></td><td><b class="caption">File</b></td><td><b class="caption">New</b></td><td>Goes back to the selection screen to choose another activity.</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>E</kbd></td><td><b class="caption">File</b></td><td><b class="caption">Exit</b></td><td>Ends the program.</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>O</kbd></td><td><b class="caption">Help</b></td><td><b class="caption">Contents</b></td><td>Opens this help page.</td></tr>
@WEBSITE_ROWS@<tr><td><kbd>Ctrl</kbd>+<kbd>A</kbd></td><td><b class="caption">Help</b></td><td><b class="caption">About</b></td><td>Shows the About box.</td></tr>
</table>
<p>The <b class="caption">Options</b> item of the menu bar opens the options dialog described below. The
<b class="caption">Help</b> menu of the selection screen opens this page too.</p>
</section>

<section id="parents">
<h2>For parents: full screen and the lock</h2>
<p>A little one at the keyboard soon finds the keys that close a program. Started
<em>locked</em>, Quorvel Learning fills the screen and stays there: the menus are hidden,
and closing the window, <kbd>Alt</kbd>+<kbd>F4</kbd>, <kbd>Ctrl</kbd>+<kbd>E</kbd> and
<kbd>Esc</kbd> do nothing. The activity goes on as usual.</p>
<p class="tip">To leave, hold <kbd>Ctrl</kbd>+<kbd>Shift</kbd>+<kbd>Q</kbd> for two seconds.
A small &#8220;Keep holding to leave&#8221; appears while the keys are held. If another key is
pressed meanwhile, let go and hold the three keys again.</p>
<p>While locked, the program also asks the desktop for every key, so that its own shortcuts
(switching windows, closing them, the <kbd>Super</kbd> key) reach the game instead. How much
the desktop lets it hold depends on the desktop. Where the keys cannot be held, the program
tells you in a small box when the lock starts, before your child gets the keyboard.</p>
<table>
<tr><th>Desktop</th><th>What the lock holds there</th><th>What you must allow</th></tr>
<tr><td>Any X11 session (Xfce, MATE, LXQt, Openbox, GNOME or Plasma on Xorg)</td><td>Every key, by
a keyboard grab. Only what the X server keeps for itself still works: <kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>F1</kbd>&#8230;<kbd>F12</kbd>
(text consoles) and, where enabled, <kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>Backspace</kbd>.</td><td>Nothing.</td></tr>
<tr><td>GNOME on Wayland</td><td>Every key once you allow it, except <kbd>Super</kbd>+<kbd>Escape</kbd>,
which GNOME keeps to give its shortcuts back, and the text consoles.</td><td>When the lock starts,
GNOME asks whether Quorvel Learning may inhibit its shortcuts: choose <b>Allow</b>. If you
refuse, the program tells you that the keys are not held.</td></tr>
<tr><td>KDE Plasma on Wayland</td><td>Every key except the text consoles.</td><td>Nothing.</td></tr>
<tr><td>sway</td><td>Every key and every binding, except bindings made with
<code>--inhibited</code>.</td><td>Nothing, unless your configuration says
<code>shortcuts_inhibitor disable</code> for the program.</td></tr>
<tr><td>Other Wayland compositors without the keyboard-shortcuts-inhibit protocol (weston, for
one)</td><td>Only what reaches the window: the desktop's own shortcuts still work.</td><td>Stay
near your child; the program tells you when the lock starts.</td></tr>
</table>
<p>On every desktop the lock takes the window back to full screen when the desktop takes it
out, and brings it back when it is hidden, minimised or loses the keyboard to another
program.</p>
<p>The program's entry in your desktop's menu has a few extra choices (right-click it, or
open its actions, depending on the desktop):</p>
<table>
<tr><th>Action</th><th>What it does</th></tr>
<tr><td>Start locked (full screen)</td><td>Starts locked. Your child chooses an activity on the
selection screen and stays in it.</td></tr>
<tr><td>Learn Colors, Learn Shapes, Play Colors, Play Shapes</td><td>Starts straight on that
activity, without the selection screen.</td></tr>
</table>
<p>The same can be given on the command line: <code>quorvellearning --lock</code>,
<code>quorvellearning --activity playshapes</code> (or <code>learncolors</code>,
<code>learnshapes</code>, <code>playcolors</code>), and <code>--fullscreen</code> to fill the
screen without locking. They can be combined: <code>quorvellearning --lock --activity
playshapes</code>. <kbd>F11</kbd> switches full screen on and off at any time, except when
locked. None of these changes your settings.</p>
</section>

<section id="options">
<h2>The options</h2>
<p>The options dialog has three pages. Each page has an <b>OKAY</b> button; any of them saves the
choices of all three pages. Closing the dialog any other way keeps the old settings. After the
dialog closes, the current activity starts again from the beginning with the new settings.</p>

<h3><b class="caption">Global Options</b></h3>
<p>The page has three groups: <b class="caption">Background Options</b>, <b class="caption">Shapes to Use</b> and <b class="caption">Music</b>.</p>
<table>
<tr><th>Option</th><th>What it means</th></tr>
<tr><td><b class="caption">Change Background</b></td><td>When ticked, the background picture behind the activities
changes now and then. When cleared, it stays the same.</td></tr>
<tr><td><b class="caption">Change Background after</b> &#8230; <b class="caption">Pictures.</b></td><td>How many pictures (in the learn
activities) or questions (in the games) pass before the background changes: 1, 5, 10, 15, 20,
25 or 30. The lower the number, the more often it changes.</td></tr>
<tr><td><b class="caption">Shapes to Use</b>: <b class="caption">Standard</b> or <b class="caption">Plastic</b></td><td>Two picture sets: <b class="caption">Standard</b> shows smooth,
glossy shapes; <b class="caption">Plastic</b> shows shapes with a raised rim and a textured, toy-like surface.</td></tr>
<tr><td><b class="caption">Play Background Music</b></td><td>Switches the background music on or off.</td></tr>
</table>

<h3><b class="caption">Learn Options</b></h3>
<p>The page has three groups: <b class="caption">Color and Shape Options</b>, <b class="caption">Change Shapes</b> and <b class="caption">Special Effects Options</b>.</p>
<table>
<tr><th>Option</th><th>What it means</th></tr>
<tr><td><b class="caption">Use the Same Object</b></td><td>When ticked, the learn activities keep one shape while
the colors change (in Learn Colors), or one color while the shapes change (in Learn Shapes),
so that only the thing being learned changes.</td></tr>
<tr><td><b class="caption">Repeat Object &#8230; Times</b></td><td>How many times each color or shape is shown
before moving on to the next: 1 to 8. Repeating helps younger children.</td></tr>
<tr><td><b class="caption">Change Shapes</b>: <b class="caption">Timer</b> or <b class="caption">Keyboard</b></td><td><b class="caption">Timer</b>: the next picture comes by itself
a few seconds after the name is spoken. <b class="caption">Keyboard</b>: the next picture comes when a key is
pressed.</td></tr>
<tr><td><b class="caption">Special Effects</b></td><td>The speed of the transition effects that bring in the learn
pictures: 1 to 40. The lower the value, the faster the effect.</td></tr>
</table>

<h3><b class="caption">Play Options</b></h3>
<p>The page has three groups: <b class="caption">Color and Shape Options</b>, <b class="caption">Repeat Question</b> and <b class="caption">Special Effects Options</b>.</p>
<table>
<tr><th>Option</th><th>What it means</th></tr>
<tr><td><b class="caption">Use the Same Object</b></td><td>When ticked, the four answer pictures of a game share one
shape (in Play Colors) or one color (in Play Shapes), so only the thing asked about differs.</td></tr>
<tr><td><b class="caption">Repeat Question</b>: <b class="caption">Repeat</b></td><td>When ticked, the question is asked again after a long
pause if no picture has been clicked.</td></tr>
<tr><td><b class="caption">Special Effects</b></td><td>The speed of the transition effects in the games: 1 to 40.
The lower the value, the faster the effect.</td></tr>
</table>
</section>

<section id="settings">
<h2>Where the settings are kept</h2>
<p>Your choices are saved for each user in the file
<code>~/.config/quorvellearning/quorvellearning.ini</code>, in the section <code>[colors]</code>.
Deleting this file brings back the original settings; the next start then shows the About box
once, as on the very first run.</p>
</section>

<section id="privacy">
<h2>Privacy</h2>
<p>The program works completely offline. It collects nothing, sends nothing and needs no
account. The only thing it writes is its settings file.@WEBSITE_PRIVACY@</p>
</section>
</main>
<footer>Quorvel Learning &#8212; have fun learning colors and shapes!</footer>
</body>
</html>
)html";

// The menu items that open the maker's web site exist only when it has one.
const char kWebsiteRows[] =
    R"html(<tr><td><kbd>Ctrl</kbd>+<kbd>W</kbd></td><td><b class="caption">Help</b></td><td><b class="caption">Web Site</b></td><td>Opens the maker's web site in your browser.</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>R</kbd></td><td><b class="caption">Help</b></td><td><b class="caption">Donate</b></td><td>Opens the donation page in your browser.</td></tr>
)html";
const char kWebsitePrivacy[] = R"html( The web site and donation links open
in your own browser only when you choose them from the menu.)html";

}  // namespace

bool writeHelpPage(const QString& programDir, const QString& website) {
    const QString folder = QDir(programDir).filePath("help");
    QFile page(folder + "/colorhelp.htm");
    const bool hasWebsite = !website.isEmpty();
    const QByteArray text = QByteArray(kHelpPage)
                                .replace("@WEBSITE_ROWS@", hasWebsite ? kWebsiteRows : "")
                                .replace("@WEBSITE_PRIVACY@", hasWebsite ? kWebsitePrivacy : "");
    if (!QDir().mkpath(folder) || !page.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        page.write(text) != text.size()) {
        std::fprintf(stderr, "quorvel-mediagen help: cannot write %s\n",
                     qPrintable(page.fileName()));
        return false;
    }
    return true;
}

}  // namespace mediagen

#include "forms/ConditionHints.h"

#include <QStringList>

#include <map>

namespace forms {

namespace {

// A master needs the effects at a glance while the box is under the mouse, so each line
// states one effect in a few words.
const std::map<QString, QStringList>& hints()
{
    static const QStringList stunned = {
        QStringLiteral("- You grant combat advantage."),
        QStringLiteral("- You can't take actions."),
        QStringLiteral("- You can't flank an enemy."),
    };
    static const std::map<QString, QStringList> table = {
        {QStringLiteral("Blinded"),
         {QStringLiteral("- You grant combat advantage."),
          QStringLiteral("- You can't see any target: your targets have total concealment."),
          QStringLiteral("- You take a -10 penalty to Perception checks."),
          QStringLiteral("- You can't flank an enemy.")}},
        {QStringLiteral("Dazed"),
         {QStringLiteral("- You grant combat advantage."),
          QStringLiteral(
              "- On your turn you take one action only: a standard, a move or a minor action; "
              "no immediate or opportunity actions."),
          QStringLiteral("- You can't flank an enemy.")}},
        {QStringLiteral("Dominated"),
         {QStringLiteral("- You are dazed: you grant combat advantage and can't flank."),
          QStringLiteral(
              "- The dominator chooses your one action each turn, using only at-will powers.")}},
        {QStringLiteral("Dying"),
         {QStringLiteral("- You are unconscious: helpless, -5 to all defenses, no actions, prone."),
          QStringLiteral("- Make a death saving throw at the end of each of your turns."),
          QStringLiteral("- Three failed death saving throws before a rest: you die.")}},
        {QStringLiteral("Helpless"),
         {QStringLiteral("- You grant combat advantage."),
          QStringLiteral("- You can be the target of a coup de grace."),
          QStringLiteral("Note: you are usually helpless because you are unconscious.")}},
        {QStringLiteral("Immobilized"),
         {QStringLiteral(
             "- You can't leave your space; teleportation and forced movement still move you.")}},
        {QStringLiteral("Marked"),
         {QStringLiteral(
             "- You take a -2 penalty to attack rolls for attacks that don't target the creature "
             "that marked you.")}},
        {QStringLiteral("Petrified"),
         {QStringLiteral("- You have been turned to stone."),
          QStringLiteral("- You can't take actions."),
          QStringLiteral("- You gain resist 20 to all damage."),
          QStringLiteral("- You are unaware of your surroundings."),
          QStringLiteral("- You don't age.")}},
        {QStringLiteral("Prone"),
         {QStringLiteral(
              "- You are lying down: you can only crawl, teleport or be forced to move."),
          QStringLiteral("- You take a -2 penalty to attack rolls."),
          QStringLiteral(
              "- You grant combat advantage to enemies making melee attacks against you."),
          QStringLiteral("- You gain +2 to all defenses against ranged attacks from enemies not "
                         "adjacent to you."),
          QStringLiteral("- Dropping prone is a minor action."),
          QStringLiteral("- Standing up is a move action.")}},
        {QStringLiteral("Restrained"),
         {QStringLiteral("- You grant combat advantage."),
          QStringLiteral("- You are immobilized: you can't move, except by teleporting."),
          QStringLiteral("- You can't be forced to move by a pull, a push or a slide."),
          QStringLiteral("- You take a -2 penalty to attack rolls.")}},
        {QStringLiteral("Slowed"),
         {QStringLiteral("- Your speed becomes 2 when it is higher; teleportation and forced "
                         "movement are not limited.")}},
        {QStringLiteral("Stunned"), stunned},
        {QStringLiteral("Surprised"), stunned},
        {QStringLiteral("Unconscious"),
         {QStringLiteral("- You are helpless: you grant combat advantage and can be the target of "
                         "a coup de grace."),
          QStringLiteral("- You take a -5 penalty to all defenses."),
          QStringLiteral("- You can't take actions."),
          QStringLiteral("- You fall prone, if possible."),
          QStringLiteral("- You can't flank an enemy.")}},
        {QStringLiteral("Weakened"),
         {QStringLiteral(
             "- Your attacks deal half damage; ongoing damage you deal is not affected.")}},
    };
    return table;
}

} // namespace

QString conditionHint(const QString& condition)
{
    const auto it = hints().find(condition);
    return it == hints().end() ? QString() : it->second.join(QStringLiteral("\n\r"));
}

} // namespace forms

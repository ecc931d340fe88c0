-- Run by scripts/ardour-session.sh vst3 through ardour7-lua. MODE=create makes a session at 98
-- BPM with an audio track: the test signal generator, then brindleLoop (VST 3) with the state
-- of the user preset "Test steps" (size 0.7 and changed step values), size set to 0.7 and
-- Dry/Wet automated (1 until AUTOMATION_FRAME, 0.3 from there); exports the track's signal
-- without and with the effect and saves the session. MODE=reopen loads that session and exports
-- the two again.
local mode = os.getenv ("MODE")
local dir = os.getenv ("SESSION_DIR")
local out = os.getenv ("EXPORT_DIR")
local at = tonumber (os.getenv ("AUTOMATION_FRAME"))

AudioEngine:set_backend ("None (Dummy)", "", "")
local s
if mode == "create" then
	s = create_session (dir, "brindle", 44100)
	local tm = Temporal.TempoMap.fetch_writable ()
	tm:set_tempo (Temporal.Tempo (98, 98, 4), Temporal.timepos_t (0))
	Temporal.TempoMap.update (tm)
	local track = s:new_audio_track (2, 2, nil, 1, "brindle", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()
	local gen = ARDOUR.LuaAPI.new_luaproc (s, "brindle test signal")
	assert (not gen:isnil (), "no test signal generator")
	track:add_processor_by_index (gen, 0, nil, true)
	for p in ARDOUR.LuaAPI.list_plugins ():iter () do
		if p.type == ARDOUR.PluginType.VST3 and p.name == "brindleLoop" then print ("found", p.name, p.unique_id, p.category) end
	end
	local effect = ARDOUR.LuaAPI.new_plugin (s, "brindleLoop", ARDOUR.PluginType.VST3, "")
	assert (not effect:isnil (), "Ardour found no VST 3 brindleLoop")
	track:add_processor_by_index (effect, 1, nil, true)
	local plugin = effect:to_insert ():plugin (0)
	local preset = plugin:preset_by_label ("Test steps")
	assert (preset and preset.uri ~= "", "no preset Test steps")
	assert (plugin:load_preset (preset), "the preset did not load")
	ARDOUR.LuaAPI.set_processor_param (effect, 2, 0.7)  -- Size
	-- Dry/Wet (parameter 4): a step from 1 to 0.3.
	local ac = effect:to_automatable ():automation_control (Evoral.Parameter (ARDOUR.AutomationType.PluginAutomation, 0, 4), false)
	do
		assert (not ac:isnil (), "no Dry/Wet automation")
		-- Discrete: the value holds until the next point, a step at `at`.
		local list = ac:alist ()
		list:set_interpolation (0)  -- Evoral::ControlList::Discrete (its enum is not bound in Ardour 7)
		list:add (Temporal.timepos_t (0), 1.0, false, false)
		list:add (Temporal.timepos_t (at), 0.3, false, false)
		ac:set_automation_state (ARDOUR.AutoState.Play)
	end
else
	s = load_session (dir, "brindle")
end
assert (s, "no session")

local track
for t in s:get_tracks ():iter () do track = t end
local effect = track:nth_plugin (1)
assert (not effect:isnil (), "no effect on the track")
print ("effect:", effect:display_name (), "size", ARDOUR.LuaAPI.get_processor_param (effect, 2, true))

ARDOUR.config ():set_export_preroll (0)
local function export (name)
	local e = s:simple_export ()
	e:set_name (name)
	e:set_folder (out .. "/" .. name)
	e:set_range (0, 44100 * 4)
	assert (e:set_preset ("6b1b4c1e-0b7a-4c36-9d6e-b71d1e000001"), "no float WAV export preset")
	assert (e:run_export (), "export " .. name .. " failed")
end
effect:deactivate ()
export ("dry")
effect:activate ()
export ("wet")
s:save_state ("", false, false, false, false, false)
print ("saved " .. dir)
AudioEngine:stop (false)
os.exit (0)
